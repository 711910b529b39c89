// The identities of the foundation's interfaces that peers ask for by GUID.
#include "library/core/geometry/cxGeometry.h"
#include "library/core/locale/cxFormats.h"
#include "library/core/system/dxGestures.h"
#include "tests/support/InterfaceIdentities.h"

namespace {

TEST(FoundationInterfaces, IdentitiesAreTheRegisteredOnes) {
  const TInterfaceIdentity identities[] = {
      {"IdxScaleFactor", IdxScaleFactor::IID, L"{367A805A-A84B-441A-83A3-6A7E489D3B6C}"},
      {"IcxTimeChangeListener", IcxTimeChangeListener::IID, L"{5E33A2A7-0C77-415F-A359-112103E54937}"},
      {"IdxGestureClient", IdxGestureClient::IID, L"{652B8A09-DAC8-4332-9206-C8905AEE7791}"},
      {"IdxGestureClient2", IdxGestureClient2::IID, L"{834D1E09-D446-4E7E-9DE3-AE158BAA9B73}"},
      {"IdxZoomClient", IdxZoomClient::IID, L"{B3A0623E-D155-462F-B234-22E9CFC6BFBF}"},
      {"IdxRotationClient", IdxRotationClient::IID, L"{EAC9BA3A-C2C3-42E2-8CA8-8CEA85821CAE}"},
  };
  ExpectInterfaceIdentities(identities);
}

}  // namespace
