// Catching what reaches the application object's exception handler in tests
// of the windowed layers (programs that link platform/ui).
#pragma once

#include "platform/ui/Forms.h"

#include <vector>

// Records every exception the application object is asked to handle while
// it lives. Create points the callback exception handler at the
// application object, as its start-up does (another test may have replaced
// it), and takes over OnException; Destroy gives both back.
class TApplicationExceptionLog : public TObject {
  SK_CLASS(TApplicationExceptionLog, TObject)
 public:
  void Create();
  void Destroy() override;

  // In the order raised.
  std::vector<TObject*> Senders;
  std::vector<String> Messages;

 private:
  void Raised(TObject* Sender, const Exception& E);

  TCallbackExceptionHandler FOldCallbackHandler;
  TExceptionEvent FOldOnException;
};
