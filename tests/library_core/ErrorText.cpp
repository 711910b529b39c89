#include "tests/library_core/ErrorText.h"

String ErrorOf(const std::function<void()>& AAction) {
  try {
    AAction();
  } catch (const Exception& e) {
    return e.ClassName() + L": " + e.Message();
  }
  return L"(no error)";
}
