#include "library/controls/container/cxContainer.h"

#include "platform/ui/Controls.h"

void cxContainerInitialization() {
  RegisterClass(TcxStyleController::ClassInfo());
  GroupDescendentsWith(TcxStyleController::ClassInfo(), TControl::ClassInfo());
}
