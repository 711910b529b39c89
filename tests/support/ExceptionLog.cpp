#include "tests/support/ExceptionLog.h"

namespace {

void ToApplication(TObject* ASender) { Application()->HandleException(ASender); }

}  // namespace

void TApplicationExceptionLog::Create() {
  inherited::Create();
  FOldCallbackHandler = SetCallbackExceptionHandler(&ToApplication);
  FOldOnException = Application()->OnException();
  Application()->SetOnException(BindEvent<&TApplicationExceptionLog::Raised>(this));
}

void TApplicationExceptionLog::Destroy() {
  Application()->SetOnException(FOldOnException);
  SetCallbackExceptionHandler(FOldCallbackHandler);
  inherited::Destroy();
}

void TApplicationExceptionLog::Raised(TObject* Sender, const Exception& E) {
  Senders.push_back(Sender);
  Messages.push_back(E.Message());
}
