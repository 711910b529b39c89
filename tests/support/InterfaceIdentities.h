// Interface identities checked against their registry text as Windows reads
// it (IIDFromString): peers outside the library ask for an interface by the
// text, so one wrong digit in a constant breaks them silently.
#pragma once

#include "platform/runtime/WinApi.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <span>

struct TInterfaceIdentity {
  const char* Name;
  GUID IID;
  const wchar_t* Text;  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
};

inline void ExpectInterfaceIdentities(std::span<const TInterfaceIdentity> AIdentities) {
  for (const TInterfaceIdentity& identity : AIdentities) {
    SCOPED_TRACE(identity.Name);
    IID expected{};
    ASSERT_EQ(IIDFromString(identity.Text, &expected), S_OK);
    EXPECT_TRUE(IsEqualGUID(identity.IID, expected));
  }
}
