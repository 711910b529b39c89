#include "app/UDefines.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>

std::array<std::uint8_t, FlashImageSize> FlashImage;
std::array<std::uint8_t, EepromImageSize> EepromImage;
std::array<std::uint8_t, UserRowImageSize> UserRowImage;

int FlashSize;
int EepromSize;
int UserRowSize;

int ExpectedDeviceID;
int RequestedLoaderID;
int FlashLimit;
int EepromLimit;
int BlockSize;
int EepromPageSize;
std::uint8_t DeviceFamily;

int ReportedDeviceID;
int ReportedLoaderID;
int FlashEnd;

String ProjectFile;
String ProjectDir;

std::span<std::uint8_t> TargetImage(std::uint8_t ATarget) {
  switch (ATarget) {
    case TargetFlash: return FlashImage;
    case TargetEeprom: return EepromImage;
    case TargetUserRow: return UserRowImage;
    default: break;
  }
  throw EArgumentOutOfRangeException(L"Unknown memory image %d", {static_cast<int>(ATarget)});
}

void EraseImages() {
  std::ranges::fill(FlashImage, 0xFF);
  std::ranges::fill(EepromImage, 0xFF);
  std::ranges::fill(UserRowImage, 0xFF);
}

void UDefinesFinalization() {
  ProjectFile = String();
  ProjectDir = String();
}
