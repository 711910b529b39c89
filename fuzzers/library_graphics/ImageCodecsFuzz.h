// The image codecs' fuzzing drivers (ImageCodecsFuzz.cpp): seeds and one
// input of each, for the folder's table of drivers.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> BmpSeeds();
std::vector<std::string> PngSeeds();
std::vector<std::string> TiffSeeds();
std::vector<std::string> GifSeeds();
std::vector<std::string> JpegSeeds();
std::vector<std::string> EmfSeeds();
std::vector<std::string> WmfSeeds();
std::vector<std::string> ImageSeeds();

void ParseBmpHeader(const std::string& AInput);
void ParseMemoryBitmapHeader(const std::string& AInput);
void ParsePngHeader(const std::string& AInput);
void ParseTiffHeader(const std::string& AInput);
void ParseGifHeader(const std::string& AInput);
void ParseJpegHeader(const std::string& AInput);
void ParseEmfHeader(const std::string& AInput);
void ParseWmfHeader(const std::string& AInput);
void LoadSmartImage(const std::string& AInput);
