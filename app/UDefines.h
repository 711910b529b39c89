// Shared state of the flasher: the three memory images and the device and
// project parameters.
//
// The project load (MainUnit's LoadFiles and UHexLoad) and the handshake
// write them on the UI thread; the flashing task reads them while the Open,
// Connect and Flash buttons are disabled, so nothing changes them under it.
#pragma once

#include "platform/runtime/System.h"

#include <array>
#include <cstdint>
#include <span>

// Image sizes in bytes.
constexpr int FlashImageSize = 0x90000;
constexpr int EepromImageSize = 0x10000;
constexpr int UserRowImageSize = EepromImageSize;

// Classic devices whose flash is larger than this need the wide address form.
constexpr int WideAddressThreshold = 0x20000;

// DeviceFamily values (0 before any project).
constexpr std::uint8_t FamilyClassic = 1;
constexpr std::uint8_t FamilyXmega = 10;

// The targets of LoadHexFile.
constexpr std::uint8_t TargetFlash = 0;
constexpr std::uint8_t TargetEeprom = 1;
constexpr std::uint8_t TargetUserRow = 2;

// Memory contents by byte address.
extern std::array<std::uint8_t, FlashImageSize> FlashImage;
extern std::array<std::uint8_t, EepromImageSize> EepromImage;
extern std::array<std::uint8_t, UserRowImageSize> UserRowImage;

// Length of each loaded image (highest address written plus one); 0 none,
// -1 the load failed. An image counts as loaded when its size is above 0.
extern int FlashSize;
extern int EepromSize;
extern int UserRowSize;

// Project parameters (section MainParams of the project file).
extern int ExpectedDeviceID;   // DeviceID; 0 or less: no check
extern int RequestedLoaderID;  // BootLoaderID; negative: any loader
extern int FlashLimit;         // FlashMax, in bytes
extern int EepromLimit;        // EEpromMax; caps the EEPROM bytes written when above 0
extern int BlockSize;          // PageSize x 2; the handshake may replace it
extern int EepromPageSize;     // EPageSize
extern std::uint8_t DeviceFamily;

// What the device reported in the handshake.
extern int ReportedDeviceID;
extern int ReportedLoaderID;
extern int FlashEnd;

// The opened project file (full path) and its directory.
extern String ProjectFile;
extern String ProjectDir;

// The image of a LoadHexFile target; raises EArgumentOutOfRangeException for
// an unknown target.
std::span<std::uint8_t> TargetImage(std::uint8_t ATarget);

// Fills all three images with $FF (erased flash).
void EraseImages();

// Unit shut-down: releases the strings.
void UDefinesFinalization();
