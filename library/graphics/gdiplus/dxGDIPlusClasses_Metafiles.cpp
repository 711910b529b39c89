// Metafiles that GDI can play safely.
//
// GDI+ plays a metafile's records through GDI (a WMF after converting it to
// an EMF), and Wine's GDI takes each record as it comes: a count beyond the
// record, an index beyond a table, a source rectangle beyond its bitmap or a
// divisor of 0 crashes it, and a shape, pen or font millions of pixels large
// keeps it busy for minutes or takes gigabytes, since curves, wide pens,
// regions and glyphs are rasterised whole before they are clipped. So every
// record GDI would read is checked first, against its own size and these
// bounds, and a file with one record out of them is no image:
//
// - Geometry stays on a playfield: every point a record draws, mapped as the
//   player maps it (world transform, mapping mode, window and viewport), lies
//   within the picture's box (the frame of an EMF, the placeable box or the
//   window of a WMF) grown by 16 times its extent on every side; pen widths,
//   font sizes and radii are at most 16 times the extent. The player scales
//   the picture's box to the destination, so whatever is drawn costs at most
//   a few dozen times the destination, whatever the file says.
// - Counts: points, polygons, characters, palette entries, rectangles of a
//   region and dash entries lie inside their record; polygon counts add up to
//   no more than the points; gradient meshes name existing vertices.
// - Objects: an index names a slot of the file's table (EMF; stock objects
//   only where a selection takes them), or an object the file created and
//   has not deleted (WMF, whose records name no slots; a file creating more
//   objects than its table holds is refused).
// - Structure: nothing after an EMF's end record; a WMF's embedded EMF (which
//   GDI plays instead of the records when the file's checksum holds) is
//   checked as an EMF. Records of GDI+ (EMF+) inside comments are checked
//   for their sizes only.
// - Bitmaps: a header, colours and rows the record holds; at most
//   dxMaxDecodedImageBytes of pixels; source rectangles inside the bitmap;
//   colour usage RGB or palette indexes; an alpha blend with per-pixel alpha
//   only from a 32-bit bitmap.
// - State: at most 256 saved states, and a restore only of a state the file
//   saved; scaled extents never divide by 0; transforms are finite.
// - Size: the picture at its own size is at most 16 megapixels and 32768
//   pixels a side.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace {

constexpr double PlayfieldMargin = 16;
// A box smaller than this is taken as this large: the smallest pictures are icons.
constexpr double MinPictureExtent = 64;
constexpr std::size_t MaxSavedStates = 256;
constexpr double MaxDevicePixelsPerMm = 200;
constexpr double MaxPicturePixels = 1 << 24;
constexpr double MaxPictureSide = 1 << 15;
constexpr std::uint32_t MaxPaletteEntries = 65536;
// ExtCreatePen takes at most 16 dash entries.
constexpr std::uint32_t MaxDashEntries = 16;
// Record types the headers here do not name.
constexpr DWORD EmrSmallTextOut = 108;
// A colour usage of no colour table: the pixels are the DC's palette indexes.
constexpr std::uint32_t DibPalIndices = 2;
constexpr DWORD EmrSetLinkedUfis = 119;
constexpr DWORD EmrSetTextJustification = 120;

// A record's bytes; every read is inside it once Has said so.
class TRecord {
 public:
  TRecord(const std::uint8_t* AData, std::size_t ASize) : FData(AData), FSize(ASize) {}
  std::size_t Size() const { return FSize; }
  const std::uint8_t* Data() const { return FData; }
  bool Has(std::uint64_t AOffset, std::uint64_t ACount) const { return AOffset <= FSize && ACount <= FSize - AOffset; }
  std::uint16_t U16(std::size_t AOffset) const { return static_cast<std::uint16_t>(FData[AOffset] | FData[AOffset + 1] << 8); }
  std::int16_t I16(std::size_t AOffset) const { return static_cast<std::int16_t>(U16(AOffset)); }
  std::uint32_t U32(std::size_t AOffset) const { return U16(AOffset) | std::uint32_t{U16(AOffset + 2)} << 16; }
  std::int32_t I32(std::size_t AOffset) const { return static_cast<std::int32_t>(U32(AOffset)); }
  float F32(std::size_t AOffset) const {
    const std::uint32_t bits = U32(AOffset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
};

struct TPlayPoint {
  double X, Y;
};

// The player's mapping from logical units to the picture's device units, and
// the objects selected, as one saved state.
struct TPlayState {
  // The world transform (EMF only).
  double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;
  int MapMode = MM_TEXT;
  double WindowOrgX = 0, WindowOrgY = 0, WindowExtX = 1, WindowExtY = 1;
  double ViewportOrgX = 0, ViewportOrgY = 0, ViewportExtX = 1, ViewportExtY = 1;
  double PenWidth = 0;    // logical units, of the selected pen
  double FontHeight = 0;  // logical units, the larger of height and width of the selected font
};

// Where drawing may go, and the state stack that maps logical units onto it.
class TPlayfield {
 public:
  // ABox: the picture's box in device units; AFixedScale: device units per
  // 0.01 mm of the reference device (the fixed mapping modes).
  TPlayfield(double ALeft, double ATop, double ARight, double ABottom, double AFixedScaleX, double AFixedScaleY)
      : FFixedScaleX(AFixedScaleX), FFixedScaleY(AFixedScaleY) {
    const double extent = std::max({ARight - ALeft, ABottom - ATop, MinPictureExtent});
    FReach = extent * PlayfieldMargin;
    FLeft = ALeft - FReach;
    FTop = ATop - FReach;
    FRight = ARight + FReach;
    FBottom = ABottom + FReach;
  }

  TPlayState& State() { return FState; }

  // The player maps the file's window onto the box: window and viewport
  // start as the box, in the anisotropic mode.
  void StartWindowOnBox(double ALeft, double ATop, double ARight, double ABottom) {
    FState.MapMode = MM_ANISOTROPIC;
    FState.WindowOrgX = FState.ViewportOrgX = ALeft;
    FState.WindowOrgY = FState.ViewportOrgY = ATop;
    FState.WindowExtX = FState.ViewportExtX = std::max(ARight - ALeft, 1.0);
    FState.WindowExtY = FState.ViewportExtY = std::max(ABottom - ATop, 1.0);
  }

  TPlayPoint ToDevice(double X, double Y) const {
    const double wx = X * FState.M11 + Y * FState.M21 + FState.Dx;
    const double wy = X * FState.M12 + Y * FState.M22 + FState.Dy;
    const auto [sx, sy] = Scale();
    return {(wx - FState.WindowOrgX) * sx + FState.ViewportOrgX, (wy - FState.WindowOrgY) * sy + FState.ViewportOrgY};
  }
  bool Point(double X, double Y) const {
    const TPlayPoint p = ToDevice(X, Y);
    return std::isfinite(p.X) && std::isfinite(p.Y) && p.X >= FLeft && p.X <= FRight && p.Y >= FTop && p.Y <= FBottom;
  }
  bool Rect(double ALeft, double ATop, double ARight, double ABottom) const {
    return Point(ALeft, ATop) && Point(ARight, ABottom) && Point(ALeft, ABottom) && Point(ARight, ATop);
  }
  // A length in logical units (a width, a height, a radius).
  bool Length(double ALength) const {
    const auto [sx, sy] = Scale();
    const double linear = std::max({std::abs(FState.M11), std::abs(FState.M12), std::abs(FState.M21), std::abs(FState.M22)});
    const double device = std::abs(ALength) * linear * std::max(std::abs(sx), std::abs(sy));
    return std::isfinite(device) && device <= FReach;
  }
  // Drawing with the selected pen, and text with the selected font.
  bool Pen() const { return Length(FState.PenWidth); }
  bool Font() const { return Length(FState.FontHeight); }

  bool Save() {
    if (FSaved.size() >= MaxSavedStates) return false;
    FSaved.push_back(FState);
    return true;
  }
  // A relative restore (-1 the last saved state) of a state the file saved.
  bool Restore(std::int64_t ARelative) {
    if (ARelative >= 0 || -ARelative > static_cast<std::int64_t>(FSaved.size())) return false;
    FState = FSaved[FSaved.size() - static_cast<std::size_t>(-ARelative)];
    FSaved.resize(FSaved.size() - static_cast<std::size_t>(-ARelative));
    return true;
  }
  // Extents of 0 are refused by the player and change nothing.
  void SetWindowExt(double X, double Y) {
    if (X != 0 && Y != 0) FState.WindowExtX = X, FState.WindowExtY = Y;
  }
  void SetViewportExt(double X, double Y) {
    if (X != 0 && Y != 0) FState.ViewportExtX = X, FState.ViewportExtY = Y;
  }

 private:
  std::pair<double, double> Scale() const {
    switch (FState.MapMode) {
      case MM_TEXT: return {1, 1};
      case MM_LOMETRIC: return {FFixedScaleX * 10, -FFixedScaleY * 10};
      case MM_HIMETRIC: return {FFixedScaleX, -FFixedScaleY};
      case MM_LOENGLISH: return {FFixedScaleX * 25.4, -FFixedScaleY * 25.4};
      case MM_HIENGLISH: return {FFixedScaleX * 2.54, -FFixedScaleY * 2.54};
      case MM_TWIPS: return {FFixedScaleX * 2540.0 / 1440, -FFixedScaleY * 2540.0 / 1440};
      default: return {FState.ViewportExtX / FState.WindowExtX, FState.ViewportExtY / FState.WindowExtY};
    }
  }

  double FFixedScaleX, FFixedScaleY;
  double FReach;
  double FLeft, FTop, FRight, FBottom;
  TPlayState FState;
  std::vector<TPlayState> FSaved;
};

// The picture at its own size is drawn on a bitmap of that size to become
// pixels, record by record: at most 16 megapixels, more than an A0 poster at
// the screen's resolution, and 32768 pixels a side (GDI's rows and regions
// grow with the width too: a picture 600,000 pixels wide took seconds).
bool PictureWithinBounds(double AWidth, double AHeight) {
  return AWidth * AHeight <= MaxPicturePixels && AWidth <= MaxPictureSide && AHeight <= MaxPictureSide;
}

// ---------------------------------------------------------------------------
// Bitmaps (packed DIBs: a header, colours, rows)

struct TMetafileDib {
  std::int64_t Width = 0, Height = 0;  // height as a count of rows
  int BitCount = 0;
};

// A DIB header at AHeader with ACbHeader bytes of header and colours, rows of
// ACbBits bytes: the rows the record holds, at most dxMaxDecodedImageBytes.
bool CheckDib(const TRecord& R, std::uint64_t AHeader, std::uint64_t ACbHeader, std::uint64_t ACbBits,
              std::uint32_t AUsage, TMetafileDib& AInfo) {
  if (AUsage != DIB_RGB_COLORS && AUsage != DIB_PAL_COLORS && AUsage != DibPalIndices) return false;
  if (ACbHeader < sizeof(BITMAPINFOHEADER) || !R.Has(AHeader, ACbHeader)) return false;
  const std::size_t h = static_cast<std::size_t>(AHeader);
  const std::uint32_t headerSize = R.U32(h);
  const std::int64_t width = R.I32(h + 4);
  const std::int64_t height = R.I32(h + 8);
  const int bitCount = R.U16(h + 14);
  const std::uint32_t compression = R.U32(h + 16);
  const std::uint32_t used = R.U32(h + 32);
  if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > ACbHeader || R.U16(h + 12) != 1) return false;
  if (width <= 0 || height == 0) return false;
  switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  if (!(compression == BI_RGB || (compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)) ||
        (compression == BI_RLE8 && bitCount == 8) || (compression == BI_RLE4 && bitCount == 4)))
    return false;
  if (rle && height < 0) return false;
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  if (static_cast<std::uint64_t>(width) * rows * 4 > dxMaxDecodedImageBytes) return false;
  const std::uint64_t maxColors = bitCount <= 8 ? std::uint64_t{1} << bitCount : 0;
  if (used > std::max<std::uint64_t>(maxColors, 256)) return false;
  const std::uint64_t colors = used != 0 ? used : maxColors;
  const std::uint64_t masks = compression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
  const std::uint64_t entry = AUsage == DibPalIndices ? 0 : AUsage == DIB_PAL_COLORS ? 2 : 4;
  if (headerSize + masks + colors * entry > ACbHeader) return false;
  // The player makes a bitmap of the masks and copies the rows into it
  // unchecked: masks GDI refuses (none, broken, overlapping, wider than a
  // pixel) leave it copying into nothing.
  if (compression == BI_BITFIELDS) {
    std::uint32_t all = 0;
    for (std::size_t i = 0; i < 3; ++i) {
      const std::uint32_t mask = R.U32(h + sizeof(BITMAPINFOHEADER) + i * 4);
      const std::uint32_t low = mask & (~mask + 1);
      if (mask == 0 || (mask & all) != 0 || ((mask + low) & mask) != 0 ||
          (bitCount == 16 && mask > 0xFFFF))
        return false;
      all |= mask;
    }
  }
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
  if (!rle && stride * rows > ACbBits) return false;
  AInfo = {width, static_cast<std::int64_t>(rows), bitCount};
  return true;
}

// A source rectangle (either direction) inside the bitmap.
bool InsideDib(const TMetafileDib& AInfo, std::int64_t X, std::int64_t Y, std::int64_t CX, std::int64_t CY) {
  const auto span = [](std::int64_t AFrom, std::int64_t ACount, std::int64_t ALimit) {
    const std::int64_t low = std::min(AFrom, AFrom + ACount), high = std::max(AFrom, AFrom + ACount);
    return low >= 0 && high <= ALimit;
  };
  return span(X, CX, AInfo.Width) && span(Y, CY, AInfo.Height);
}

// ---------------------------------------------------------------------------
// Enhanced metafiles

// The fields of the records with bitmaps: where the usage and the four
// bitmap fields (offBmi, cbBmi, offBits, cbBits) are, 0 for none.
struct TEmfBitmap {
  std::size_t Usage;
  std::size_t Fields;
};

class TEmfChecker {
 public:
  TEmfChecker(const std::uint8_t* AData, std::size_t ASize) : FData(AData), FSize(ASize) {}
  bool Check();

 private:
  bool CheckHeader();
  bool CheckRecord(DWORD AType, const TRecord& R);
  // A slot of the table; index 0 is the metafile itself. Only selections
  // take stock objects (the high bit and a stock object's number).
  bool Index(std::uint32_t AIndex, bool AStockAllowed) const {
    return (AStockAllowed && (AIndex & 0x80000000u) != 0 && (AIndex & 0x7FFFFFFFu) <= STOCK_LAST) ||
           (AIndex > 0 && AIndex < FHandles);
  }
  bool Points(const TRecord& R, std::size_t AAt, std::uint64_t ACount, bool AShort) const;
  bool PolyPoly(const TRecord& R, bool AShort) const;
  bool Bitmap(const TRecord& R, TEmfBitmap AFields, TMetafileDib& AInfo, bool& APresent, bool AMono = false) const;
  bool Blt(DWORD AType, const TRecord& R) const;
  bool Text(const TRecord& R, std::size_t AAt) const;
  bool Region(const TRecord& R, std::size_t ASizeField, std::size_t AData) const;
  bool EmfPlus(const TRecord& R) const;

  const std::uint8_t* FData;
  std::size_t FSize;
  std::uint32_t FBytes = 0;
  std::uint32_t FHandles = 0;
  std::unique_ptr<TPlayfield> FField;
  // Per object slot: the pen width or font height it was made with.
  std::vector<std::pair<bool, double>> FPens, FFonts;
};

bool TEmfChecker::CheckHeader() {
  constexpr std::size_t HeaderSize = 88;  // ENHMETAHEADER without its extensions
  if (FSize < HeaderSize) return false;
  const TRecord header(FData, FSize);
  const std::uint32_t headerSize = header.U32(4);
  FBytes = header.U32(48);
  FHandles = header.U16(56);
  if (headerSize < HeaderSize || headerSize % 4 != 0 || headerSize > FBytes || FBytes > FSize || FHandles == 0)
    return false;
  // The frame (0.01 mm) and the reference device (pixels, millimetres).
  const std::int64_t left = header.I32(24), top = header.I32(28), right = header.I32(32), bottom = header.I32(36);
  const std::int64_t devX = header.I32(72), devY = header.I32(76), mmX = header.I32(80), mmY = header.I32(84);
  if (right < left || bottom < top || devX <= 0 || devY <= 0 || mmX <= 0 || mmY <= 0) return false;
  const std::uint64_t description = header.U32(60), descriptionAt = header.U32(64), palette = header.U32(68);
  if (description != 0 && (descriptionAt < HeaderSize || !header.Has(descriptionAt, description * 2))) return false;
  if (headerSize >= 100 && header.U32(88) != 0 && !header.Has(header.U32(92), header.U32(88))) return false;
  if (palette > MaxPaletteEntries) return false;
  const double scaleX = static_cast<double>(devX) / static_cast<double>(mmX) / 100;
  const double scaleY = static_cast<double>(devY) / static_cast<double>(mmY) / 100;
  // No device resolves finer than 200 pixels a millimetre (5,000 per inch).
  if (scaleX > MaxDevicePixelsPerMm / 100 || scaleY > MaxDevicePixelsPerMm / 100 ||
      !PictureWithinBounds(static_cast<double>(right - left) * scaleX, static_cast<double>(bottom - top) * scaleY))
    return false;
  FField = std::make_unique<TPlayfield>(static_cast<double>(left) * scaleX, static_cast<double>(top) * scaleY,
                                        static_cast<double>(right) * scaleX, static_cast<double>(bottom) * scaleY,
                                        scaleX, scaleY);
  FPens.assign(FHandles, {false, 0});
  FFonts.assign(FHandles, {false, 0});
  return true;
}

bool TEmfChecker::Check() {
  if (!CheckHeader()) return false;
  for (std::size_t position = TRecord(FData, FSize).U32(4); position + 8 <= FBytes;) {
    const TRecord head(FData + position, FBytes - position);
    const DWORD type = head.U32(0);
    const std::uint32_t size = head.U32(4);
    if (size < 8 || size % 4 != 0 || size > FBytes - position) return false;
    const TRecord record(FData + position, size);
    // The end record may carry a palette; the player walks on to the end of
    // the bytes the header states, so nothing may follow it.
    if (type == EMR_EOF)
      return size >= 20 && record.Has(record.U32(12), std::uint64_t{record.U32(8)} * 4) && position + size == FBytes;
    if (!CheckRecord(type, record)) return false;
    position += size;
  }
  return false;
}

bool TEmfChecker::Points(const TRecord& R, std::size_t AAt, std::uint64_t ACount, bool AShort) const {
  const std::uint64_t each = AShort ? 4 : 8;
  if (!R.Has(AAt, ACount * each)) return false;
  for (std::uint64_t i = 0; i < ACount; ++i) {
    const std::size_t p = AAt + static_cast<std::size_t>(i * each);
    if (AShort ? !FField->Point(R.I16(p), R.I16(p + 2)) : !FField->Point(R.I32(p), R.I32(p + 4))) return false;
  }
  return FField->Pen();
}

// EMRPOLYPOLYLINE and its 16-bit form: the counts add up to no more than the points.
bool TEmfChecker::PolyPoly(const TRecord& R, bool AShort) const {
  if (!R.Has(24, 8)) return false;
  const std::uint64_t polygons = R.U32(24), points = R.U32(28);
  if (!R.Has(32, polygons * 4)) return false;
  std::uint64_t total = 0;
  for (std::uint64_t i = 0; i < polygons; ++i) total += R.U32(32 + static_cast<std::size_t>(i) * 4);
  return total <= points && Points(R, 32 + static_cast<std::size_t>(polygons) * 4, points, AShort);
}

bool TEmfChecker::Bitmap(const TRecord& R, TEmfBitmap AFields, TMetafileDib& AInfo, bool& APresent, bool AMono) const {
  const std::size_t f = AFields.Fields;
  if (!R.Has(f, 16) || !R.Has(AFields.Usage, 4)) return false;
  const std::uint64_t offBmi = R.U32(f), cbBmi = R.U32(f + 4), offBits = R.U32(f + 8), cbBits = R.U32(f + 12);
  APresent = cbBmi != 0 || offBmi != 0;
  if (!APresent) return cbBits == 0 || R.Has(offBits, cbBits);
  const std::uint32_t usage = R.U32(AFields.Usage);
  return R.Has(offBits, cbBits) && (usage != DibPalIndices || AMono) && CheckDib(R, offBmi, cbBmi, cbBits, usage, AInfo);
}

bool TEmfChecker::Blt(DWORD AType, const TRecord& R) const {
  TMetafileDib source, mask;
  bool hasSource = false, hasMask = true;
  std::int64_t xSrc = 0, ySrc = 0, cxSrc = 0, cySrc = 0;
  switch (AType) {
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_MASKBLT:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
      // The same layout up to the source bitmap; the stretching kinds end with the source extent.
      const bool stretch = AType == EMR_STRETCHBLT || AType == EMR_ALPHABLEND || AType == EMR_TRANSPARENTBLT;
      const std::size_t minimum = AType == EMR_BITBLT ? sizeof(EMRBITBLT)
                                  : AType == EMR_MASKBLT ? sizeof(EMRMASKBLT)
                                                         : sizeof(EMRSTRETCHBLT);
      if (R.Size() < minimum) return false;
      const std::int64_t x = R.I32(offsetof(EMRBITBLT, xDest)), y = R.I32(offsetof(EMRBITBLT, yDest));
      const std::int64_t cx = R.I32(offsetof(EMRBITBLT, cxDest)), cy = R.I32(offsetof(EMRBITBLT, cyDest));
      if (!FField->Rect(static_cast<double>(x), static_cast<double>(y), static_cast<double>(x + cx), static_cast<double>(y + cy)))
        return false;
      if (!Bitmap(R, {offsetof(EMRBITBLT, iUsageSrc), offsetof(EMRBITBLT, offBmiSrc)}, source, hasSource)) return false;
      xSrc = R.I32(offsetof(EMRBITBLT, xSrc));
      ySrc = R.I32(offsetof(EMRBITBLT, ySrc));
      cxSrc = stretch ? R.I32(offsetof(EMRSTRETCHBLT, cxSrc)) : cx;
      cySrc = stretch ? R.I32(offsetof(EMRSTRETCHBLT, cySrc)) : cy;
      if (AType == EMR_MASKBLT) {
        if (!Bitmap(R, {offsetof(EMRMASKBLT, iUsageMask), offsetof(EMRMASKBLT, offBmiMask)}, mask, hasMask)) return false;
        if (hasMask && !InsideDib(mask, R.I32(offsetof(EMRMASKBLT, xMask)), R.I32(offsetof(EMRMASKBLT, yMask)), cx, cy))
          return false;
      }
      if (AType == EMR_ALPHABLEND) {
        // The blend function stands where the raster operation does.
        const std::uint32_t blend = R.U32(offsetof(EMRALPHABLEND, dwRop));
        const std::uint8_t op = blend & 0xFF, flags = (blend >> 8) & 0xFF, format = (blend >> 24) & 0xFF;
        if (!hasSource || op != AC_SRC_OVER || flags != 0 || (format != 0 && format != AC_SRC_ALPHA)) return false;
        if (format == AC_SRC_ALPHA && source.BitCount != 32) return false;
      }
      if (AType == EMR_TRANSPARENTBLT && !hasSource) return false;
      break;
    }
    case EMR_PLGBLT: {
      if (R.Size() < sizeof(EMRPLGBLT)) return false;
      if (!Points(R, offsetof(EMRPLGBLT, aptlDest), 3, false)) return false;
      if (!Bitmap(R, {offsetof(EMRPLGBLT, iUsageSrc), offsetof(EMRPLGBLT, offBmiSrc)}, source, hasSource) ||
          !Bitmap(R, {offsetof(EMRPLGBLT, iUsageMask), offsetof(EMRPLGBLT, offBmiMask)}, mask, hasMask))
        return false;
      xSrc = R.I32(offsetof(EMRPLGBLT, xSrc));
      ySrc = R.I32(offsetof(EMRPLGBLT, ySrc));
      cxSrc = R.I32(offsetof(EMRPLGBLT, cxSrc));
      cySrc = R.I32(offsetof(EMRPLGBLT, cySrc));
      if (hasMask && !InsideDib(mask, R.I32(offsetof(EMRPLGBLT, xMask)), R.I32(offsetof(EMRPLGBLT, yMask)), cxSrc, cySrc))
        return false;
      if (!hasSource) return false;
      break;
    }
    case EMR_SETDIBITSTODEVICE: {
      if (R.Size() < sizeof(EMRSETDIBITSTODEVICE)) return false;
      if (!Bitmap(R, {offsetof(EMRSETDIBITSTODEVICE, iUsageSrc), offsetof(EMRSETDIBITSTODEVICE, offBmiSrc)}, source,
                  hasSource) ||
          !hasSource)
        return false;
      const std::int64_t x = R.I32(offsetof(EMRSETDIBITSTODEVICE, xDest)), y = R.I32(offsetof(EMRSETDIBITSTODEVICE, yDest));
      xSrc = R.I32(offsetof(EMRSETDIBITSTODEVICE, xSrc));
      ySrc = R.I32(offsetof(EMRSETDIBITSTODEVICE, ySrc));
      cxSrc = R.I32(offsetof(EMRSETDIBITSTODEVICE, cxSrc));
      cySrc = R.I32(offsetof(EMRSETDIBITSTODEVICE, cySrc));
      const std::uint64_t start = R.U32(offsetof(EMRSETDIBITSTODEVICE, iStartScan));
      const std::uint64_t scans = R.U32(offsetof(EMRSETDIBITSTODEVICE, cScans));
      if (start + scans > static_cast<std::uint64_t>(source.Height)) return false;
      if (!FField->Rect(static_cast<double>(x), static_cast<double>(y), static_cast<double>(x + cxSrc),
                        static_cast<double>(y + cySrc)))
        return false;
      break;
    }
    case EMR_STRETCHDIBITS: {
      if (R.Size() < sizeof(EMRSTRETCHDIBITS)) return false;
      if (!Bitmap(R, {offsetof(EMRSTRETCHDIBITS, iUsageSrc), offsetof(EMRSTRETCHDIBITS, offBmiSrc)}, source, hasSource))
        return false;
      const std::int64_t x = R.I32(offsetof(EMRSTRETCHDIBITS, xDest)), y = R.I32(offsetof(EMRSTRETCHDIBITS, yDest));
      const std::int64_t cx = R.I32(offsetof(EMRSTRETCHDIBITS, cxDest)), cy = R.I32(offsetof(EMRSTRETCHDIBITS, cyDest));
      if (!FField->Rect(static_cast<double>(x), static_cast<double>(y), static_cast<double>(x + cx), static_cast<double>(y + cy)))
        return false;
      xSrc = R.I32(offsetof(EMRSTRETCHDIBITS, xSrc));
      ySrc = R.I32(offsetof(EMRSTRETCHDIBITS, ySrc));
      cxSrc = R.I32(offsetof(EMRSTRETCHDIBITS, cxSrc));
      cySrc = R.I32(offsetof(EMRSTRETCHDIBITS, cySrc));
      break;
    }
    default:
      return true;
  }
  return !hasSource || InsideDib(source, xSrc, ySrc, cxSrc, cySrc);
}

// An EMRTEXT at AAt: the characters and spacing inside the record, the
// reference point on the playfield, the selected font within bounds.
bool TEmfChecker::Text(const TRecord& R, std::size_t AAt) const {
  if (!R.Has(AAt, sizeof(EMRTEXT))) return false;
  const std::uint64_t chars = R.U32(AAt + offsetof(EMRTEXT, nChars));
  const std::uint64_t string = R.U32(AAt + offsetof(EMRTEXT, offString));
  const std::uint64_t options = R.U32(AAt + offsetof(EMRTEXT, fOptions));
  const std::uint64_t dx = R.U32(AAt + offsetof(EMRTEXT, offDx));
  const bool wide = R.U32(0) != EMR_EXTTEXTOUTA && R.U32(0) != EMR_POLYTEXTOUTA;
  if (chars > 0 && !R.Has(string, chars * (wide ? 2 : 1))) return false;
  if (dx != 0) {
    const std::uint64_t values = chars * ((options & ETO_PDY) ? 2 : 1);
    if (!R.Has(dx, values * 4)) return false;
    for (std::uint64_t i = 0; i < values; ++i)
      if (!FField->Length(R.I32(static_cast<std::size_t>(dx + i * 4)))) return false;
  }
  return FField->Point(R.I32(AAt), R.I32(AAt + 4)) && FField->Font();
}

// RGNDATA: a header of 32 bytes and as many rectangles as it says.
bool TEmfChecker::Region(const TRecord& R, std::size_t ASizeField, std::size_t AData) const {
  if (!R.Has(ASizeField, 4)) return false;
  const std::uint64_t bytes = R.U32(ASizeField);
  if (!R.Has(AData, bytes) || bytes < sizeof(RGNDATAHEADER)) return false;
  const std::uint64_t count = R.U32(AData + offsetof(RGNDATAHEADER, nCount));
  return R.U32(AData) == sizeof(RGNDATAHEADER) && sizeof(RGNDATAHEADER) + count * sizeof(RECT) <= bytes;
}

// The records GDI+ plays itself, inside a comment: each inside the comment and the one before.
bool TEmfChecker::EmfPlus(const TRecord& R) const {
  const std::uint64_t bytes = R.U32(8);
  if (!R.Has(12, bytes)) return false;
  if (bytes < 4 || R.U32(12) != 0x2B464D45) return true;  // "EMF+"
  for (std::uint64_t at = 16; at < 12 + bytes;) {
    if (!R.Has(at, 12) || at + 12 > 12 + bytes) return false;
    const std::uint64_t size = R.U32(static_cast<std::size_t>(at + 4)), data = R.U32(static_cast<std::size_t>(at + 8));
    if (size < 12 || size % 4 != 0 || size > 12 + bytes - at || data > size - 12) return false;
    at += size;
  }
  return true;
}

bool TEmfChecker::CheckRecord(DWORD AType, const TRecord& R) {
  TPlayState& state = FField->State();
  const auto minimum = [&](std::size_t ABytes) { return R.Size() >= ABytes; };
  switch (AType) {
    case EMR_HEADER:
      return false;  // only the first record
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO: case EMR_POLYLINETO:
      return minimum(28) && Points(R, 28, R.U32(24), false);
    case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16: case EMR_POLYLINETO16:
      return minimum(28) && Points(R, 28, R.U32(24), true);
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON:
      return PolyPoly(R, false);
    case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16:
      return PolyPoly(R, true);
    case EMR_POLYDRAW:
      return minimum(28) && R.Has(28, std::uint64_t{R.U32(24)} * 9) && Points(R, 28, R.U32(24), false);
    case EMR_POLYDRAW16:
      return minimum(28) && R.Has(28, std::uint64_t{R.U32(24)} * 5) && Points(R, 28, R.U32(24), true);
    case EMR_SETWINDOWEXTEX:
      if (!minimum(16)) return false;
      FField->SetWindowExt(R.I32(8), R.I32(12));
      return true;
    case EMR_SETVIEWPORTEXTEX:
      if (!minimum(16)) return false;
      FField->SetViewportExt(R.I32(8), R.I32(12));
      return true;
    case EMR_SETWINDOWORGEX:
      if (!minimum(16)) return false;
      state.WindowOrgX = R.I32(8), state.WindowOrgY = R.I32(12);
      return true;
    case EMR_SETVIEWPORTORGEX:
      if (!minimum(16)) return false;
      state.ViewportOrgX = R.I32(8), state.ViewportOrgY = R.I32(12);
      return true;
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
      // xNum, xDenom, yNum, yDenom
      if (!minimum(24) || R.I32(12) == 0 || R.I32(20) == 0) return false;
      const double x = static_cast<double>(R.I32(8)) / R.I32(12), y = static_cast<double>(R.I32(16)) / R.I32(20);
      if (AType == EMR_SCALEVIEWPORTEXTEX)
        FField->SetViewportExt(state.ViewportExtX * x, state.ViewportExtY * y);
      else
        FField->SetWindowExt(state.WindowExtX * x, state.WindowExtY * y);
      return true;
    }
    case EMR_SETMAPMODE:
      if (!minimum(12)) return false;
      if (R.U32(8) >= MM_TEXT && R.U32(8) <= MM_ANISOTROPIC) state.MapMode = static_cast<int>(R.U32(8));
      return true;
    case EMR_SETBRUSHORGEX: case EMR_OFFSETCLIPRGN:
      return minimum(16);
    case EMR_MOVETOEX: case EMR_LINETO: case EMR_SETPIXELV:
      return minimum(16) && FField->Point(R.I32(8), R.I32(12)) && FField->Pen();
    case EMR_EXCLUDECLIPRECT: case EMR_INTERSECTCLIPRECT:
      return minimum(24) && FField->Rect(R.I32(8), R.I32(12), R.I32(16), R.I32(20));
    case EMR_ELLIPSE: case EMR_RECTANGLE:
      return minimum(24) && FField->Rect(R.I32(8), R.I32(12), R.I32(16), R.I32(20)) && FField->Pen();
    case EMR_ROUNDRECT:
      return minimum(32) && FField->Rect(R.I32(8), R.I32(12), R.I32(16), R.I32(20)) && FField->Length(R.I32(24)) &&
             FField->Length(R.I32(28)) && FField->Pen();
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: case EMR_ARCTO:
      return minimum(40) && FField->Rect(R.I32(8), R.I32(12), R.I32(16), R.I32(20)) &&
             FField->Point(R.I32(24), R.I32(28)) && FField->Point(R.I32(32), R.I32(36)) && FField->Pen();
    case EMR_ANGLEARC:
      return minimum(28) && FField->Point(R.I32(8), R.I32(12)) && FField->Length(R.U32(16)) && FField->Pen() &&
             std::isfinite(R.F32(20)) && std::isfinite(R.F32(24));
    case EMR_EXTFLOODFILL:
      return minimum(24) && FField->Point(R.I32(8), R.I32(12));
    case EMR_SAVEDC:
      return FField->Save();
    case EMR_RESTOREDC:
      return minimum(12) && FField->Restore(R.I32(8));
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM: {
      if (!minimum(AType == EMR_SETWORLDTRANSFORM ? 32 : 36)) return false;
      double m[6];
      for (int i = 0; i < 6; ++i)
        if (!std::isfinite(m[i] = R.F32(8 + static_cast<std::size_t>(i) * 4))) return false;
      const std::uint32_t mode = AType == EMR_SETWORLDTRANSFORM ? 4 : R.U32(32);
      const TPlayState old = state;
      if (mode == MWT_IDENTITY) {
        state.M11 = state.M22 = 1, state.M12 = state.M21 = state.Dx = state.Dy = 0;
      } else if (mode == MWT_LEFTMULTIPLY || mode == MWT_RIGHTMULTIPLY) {
        // Left: the new transform acts first; right: after the current one.
        const double* a = m;
        const double b[6] = {old.M11, old.M12, old.M21, old.M22, old.Dx, old.Dy};
        const double* first = mode == MWT_LEFTMULTIPLY ? a : b;
        const double* second = mode == MWT_LEFTMULTIPLY ? b : a;
        state.M11 = first[0] * second[0] + first[1] * second[2];
        state.M12 = first[0] * second[1] + first[1] * second[3];
        state.M21 = first[2] * second[0] + first[3] * second[2];
        state.M22 = first[2] * second[1] + first[3] * second[3];
        state.Dx = first[4] * second[0] + first[5] * second[2] + second[4];
        state.Dy = first[4] * second[1] + first[5] * second[3] + second[5];
      } else if (mode == 4) {  // set
        state.M11 = m[0], state.M12 = m[1], state.M21 = m[2], state.M22 = m[3], state.Dx = m[4], state.Dy = m[5];
      } else {
        return false;
      }
      return true;
    }
    case EMR_SELECTOBJECT: {
      if (!minimum(12)) return false;
      const std::uint32_t index = R.U32(8);
      if (!Index(index, true)) return false;
      if (index & 0x80000000u) {
        // Stock pens are a pixel wide; stock fonts are small.
        const std::uint32_t stock = index & 0x7FFFFFFF;
        if (stock == WHITE_PEN || stock == BLACK_PEN || stock == NULL_PEN || stock == DC_PEN) state.PenWidth = 1;
        if (stock >= OEM_FIXED_FONT && stock <= DEFAULT_GUI_FONT && stock != DEFAULT_PALETTE) state.FontHeight = 16;
      } else {
        if (FPens[index].first) state.PenWidth = FPens[index].second;
        if (FFonts[index].first) state.FontHeight = FFonts[index].second;
      }
      return true;
    }
    case EMR_DELETEOBJECT:
      return minimum(12) && Index(R.U32(8), false);
    case EMR_SELECTPALETTE:
      return minimum(12) && (R.U32(8) == (0x80000000u | DEFAULT_PALETTE) || Index(R.U32(8), false));
    case EMR_SETCOLORSPACE:
    case EMR_DELETECOLORSPACE:
      return minimum(12) && Index(R.U32(8), false);
    case EMR_CREATEPEN: {
      if (!minimum(28) || !Index(R.U32(8), false)) return false;
      const std::int64_t width = R.I32(16);
      FPens[R.U32(8)] = {true, static_cast<double>(width)};
      FFonts[R.U32(8)] = {false, 0};
      return width >= 0 && FField->Length(static_cast<double>(width));
    }
    case EMR_EXTCREATEPEN: {
      constexpr std::size_t pen = offsetof(EMREXTCREATEPEN, elp);
      constexpr std::size_t entries = pen + offsetof(EXTLOGPEN32, elpStyleEntry);
      if (!minimum(entries) || !Index(R.U32(8), false)) return false;
      const std::uint64_t count = R.U32(pen + offsetof(EXTLOGPEN32, elpNumEntries));
      const std::uint64_t width = R.U32(pen + offsetof(EXTLOGPEN32, elpWidth));
      if (count > MaxDashEntries || !R.Has(entries, count * 4)) return false;
      std::uint64_t dashes = 0;
      for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t dash = R.U32(entries + static_cast<std::size_t>(i) * 4);
        if (!FField->Length(dash)) return false;
        dashes += dash;
      }
      // A dash pattern of no length never advances along the line.
      if (count > 0 && dashes == 0) return false;
      const std::uint32_t brush = R.U32(pen + offsetof(EXTLOGPEN32, elpBrushStyle));
      TMetafileDib info;
      bool present = false;
      if ((brush == BS_DIBPATTERN || brush == BS_DIBPATTERNPT) &&
          !Bitmap(R, {pen + offsetof(EXTLOGPEN32, elpColor), offsetof(EMREXTCREATEPEN, offBmi)}, info, present))
        return false;
      if (brush != BS_SOLID && brush != BS_NULL && brush != BS_HATCHED && !((brush == BS_DIBPATTERN || brush == BS_DIBPATTERNPT) && present))
        return false;
      FPens[R.U32(8)] = {true, static_cast<double>(width)};
      FFonts[R.U32(8)] = {false, 0};
      return width <= 0x7FFFFFFF && FField->Length(static_cast<double>(width));
    }
    case EMR_CREATEBRUSHINDIRECT: {
      if (!minimum(24) || !Index(R.U32(8), false)) return false;
      // A pattern brush named here would take a handle from the file.
      const std::uint32_t style = R.U32(12), hatch = R.U32(20);
      FPens[R.U32(8)] = FFonts[R.U32(8)] = {false, 0};
      return style == BS_SOLID || style == BS_NULL || (style == BS_HATCHED && hatch <= HS_DIAGCROSS);
    }
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
      TMetafileDib info;
      bool present = false;
      if (!minimum(sizeof(EMRCREATEDIBPATTERNBRUSHPT)) || !Index(R.U32(8), false)) return false;
      FPens[R.U32(8)] = FFonts[R.U32(8)] = {false, 0};
      // GDI records a monochrome brush's colours as DibPalIndices: no colour table.
      return Bitmap(R, {offsetof(EMRCREATEDIBPATTERNBRUSHPT, iUsage), offsetof(EMRCREATEDIBPATTERNBRUSHPT, offBmi)},
                    info, present, AType == EMR_CREATEMONOBRUSH) &&
             present && (AType != EMR_CREATEMONOBRUSH || info.BitCount == 1);
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      constexpr std::size_t font = offsetof(EMREXTCREATEFONTINDIRECTW, elfw);
      if (!minimum(font + sizeof(LOGFONTW)) || !Index(R.U32(8), false)) return false;
      const double height = std::abs(static_cast<double>(R.I32(font + offsetof(LOGFONTW, lfHeight))));
      const double width = std::abs(static_cast<double>(R.I32(font + offsetof(LOGFONTW, lfWidth))));
      const std::int32_t weight = R.I32(font + offsetof(LOGFONTW, lfWeight));
      FFonts[R.U32(8)] = {true, std::max(height, width)};
      FPens[R.U32(8)] = {false, 0};
      // The face name ends inside its 32 characters.
      bool terminated = false;
      for (std::size_t i = 0; i < LF_FACESIZE && !terminated; ++i)
        terminated = R.U16(font + offsetof(LOGFONTW, lfFaceName) + i * 2) == 0;
      return terminated && weight >= 0 && weight <= 1000 && FField->Length(height) && FField->Length(width);
    }
    case EMR_CREATEPALETTE: {
      if (!minimum(16) || !Index(R.U32(8), false)) return false;
      FPens[R.U32(8)] = FFonts[R.U32(8)] = {false, 0};
      return R.Has(16, std::uint64_t{R.U16(14)} * 4);
    }
    case EMR_SETPALETTEENTRIES:
      return minimum(20) && Index(R.U32(8), false) && std::uint64_t{R.U32(12)} + R.U32(16) <= MaxPaletteEntries &&
             R.Has(20, std::uint64_t{R.U32(16)} * 4);
    case EMR_RESIZEPALETTE:
      return minimum(16) && Index(R.U32(8), false) && R.U32(12) <= MaxPaletteEntries;
    case EMR_CREATECOLORSPACE:
      return minimum(12 + sizeof(LOGCOLORSPACEA)) && Index(R.U32(8), false);
    case EMR_CREATECOLORSPACEW:
      return minimum(12 + sizeof(LOGCOLORSPACEW) + 8) && Index(R.U32(8), false) &&
             R.Has(20 + sizeof(LOGCOLORSPACEW), R.U32(16 + sizeof(LOGCOLORSPACEW)));
    case EMR_SETICMPROFILEA:
    case EMR_SETICMPROFILEW:
      return minimum(20) && R.Has(20, std::uint64_t{R.U32(12)} + R.U32(16));
    case EMR_COLORMATCHTOTARGETW:
      return minimum(24) && R.Has(24, std::uint64_t{R.U32(16)} + R.U32(20));
    case EMR_GDICOMMENT:
      return minimum(12) && EmfPlus(R);
    case EMR_FILLRGN:
      return minimum(32) && Index(R.U32(28), false) && Region(R, 24, 32);
    case EMR_FRAMERGN:
      return minimum(40) && Index(R.U32(28), false) && FField->Length(R.I32(32)) && FField->Length(R.I32(36)) &&
             Region(R, 24, 40);
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
      return minimum(28) && Region(R, 24, 28);
    case EMR_EXTSELECTCLIPRGN:
      return minimum(16) && R.U32(12) >= RGN_AND && R.U32(12) <= RGN_COPY &&
             (R.U32(8) == 0 ? R.U32(12) == RGN_COPY : Region(R, 8, 16));
    case EMR_SELECTCLIPPATH:
      return minimum(12) && R.U32(8) >= RGN_AND && R.U32(8) <= RGN_COPY;
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_MASKBLT: case EMR_PLGBLT: case EMR_SETDIBITSTODEVICE:
    case EMR_STRETCHDIBITS: case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT:
      return Blt(AType, R);
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
      return minimum(sizeof(EMREXTTEXTOUTW)) && std::isfinite(R.F32(28)) && std::isfinite(R.F32(32)) && Text(R, 36);
    case EMR_POLYTEXTOUTA:
    case EMR_POLYTEXTOUTW: {
      if (!minimum(40)) return false;
      const std::uint64_t strings = R.U32(36);
      if (!R.Has(40, strings * sizeof(EMRTEXT))) return false;
      for (std::uint64_t i = 0; i < strings; ++i)
        if (!Text(R, 40 + static_cast<std::size_t>(i) * sizeof(EMRTEXT))) return false;
      return true;
    }
    case EmrSmallTextOut: {
      // Reference point, count, options, graphics mode, two scales, a clip
      // rectangle unless ETO_NO_RECT, then the characters (bytes with ETO_SMALL_CHARS).
      constexpr std::uint32_t NoRect = 0x100, SmallChars = 0x200;
      if (!minimum(36)) return false;
      const std::uint64_t chars = R.U32(16), options = R.U32(20);
      const std::uint64_t text = 36 + ((options & NoRect) ? 0 : 16);
      return R.Has(text, chars * ((options & SmallChars) ? 1 : 2)) && FField->Point(R.I32(8), R.I32(12)) && FField->Font();
    }
    case EMR_GRADIENTFILL: {
      if (!minimum(36)) return false;
      const std::uint64_t vertices = R.U32(24), meshes = R.U32(28);
      const std::uint32_t mode = R.U32(32);
      if (mode > GRADIENT_FILL_TRIANGLE) return false;
      const std::uint64_t corners = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
      if (!R.Has(36, vertices * sizeof(TRIVERTEX)) || !R.Has(36 + vertices * sizeof(TRIVERTEX), meshes * corners * 4))
        return false;
      for (std::uint64_t i = 0; i < vertices; ++i)
        if (!FField->Point(R.I32(static_cast<std::size_t>(36 + i * sizeof(TRIVERTEX))),
                           R.I32(static_cast<std::size_t>(40 + i * sizeof(TRIVERTEX)))))
          return false;
      const std::size_t mesh = static_cast<std::size_t>(36 + vertices * sizeof(TRIVERTEX));
      for (std::uint64_t i = 0; i < meshes * corners; ++i)
        if (R.U32(mesh + static_cast<std::size_t>(i) * 4) >= vertices) return false;
      return true;
    }
    case EMR_SETMITERLIMIT:
      return minimum(12) && std::isfinite(R.F32(8));
    case EMR_GLSRECORD:
      return minimum(12) && R.Has(12, R.U32(8));
    case EMR_GLSBOUNDEDRECORD:
      return minimum(28) && R.Has(28, R.U32(24));
    case EMR_PIXELFORMAT:
      return minimum(8 + sizeof(PIXELFORMATDESCRIPTOR));
    case EMR_SETCOLORADJUSTMENT:
      return minimum(8 + sizeof(COLORADJUSTMENT));
    case EMR_FILLPATH: case EMR_STROKEANDFILLPATH: case EMR_STROKEPATH:
      return minimum(24) && FField->Pen();
    case EMR_SETMAPPERFLAGS: case EMR_SETBKMODE: case EMR_SETPOLYFILLMODE: case EMR_SETROP2:
    case EMR_SETSTRETCHBLTMODE: case EMR_SETTEXTALIGN: case EMR_SETTEXTCOLOR: case EMR_SETBKCOLOR:
    case EMR_SETARCDIRECTION: case EMR_SETICMMODE: case EMR_SETLAYOUT:
      return minimum(12);
    case EmrSetLinkedUfis: case EmrSetTextJustification:
      return minimum(16);
    default:
      // The rest carry no counts or indexes the player reads, or are not played.
      return true;
  }
}

// ---------------------------------------------------------------------------
// Windows metafiles

enum class TWmfObject : std::uint8_t { None, Pen, Brush, Font, Palette, Region };

class TWmfChecker {
 public:
  TWmfChecker(const std::uint8_t* AData, std::size_t ASize) : FData(AData), FSize(ASize) {}
  bool Check();

 private:
  bool CheckRecord(std::uint16_t AFunction, const TRecord& R);
  bool Point(const TRecord& R, std::size_t AAt) const { return FField->Point(R.I16(AAt + 2), R.I16(AAt)); }
  // Rectangles are stored bottom, right, top, left.
  bool Rect(const TRecord& R, std::size_t AAt) const {
    return FField->Rect(R.I16(AAt + 6), R.I16(AAt + 4), R.I16(AAt + 2), R.I16(AAt));
  }
  bool Create(TWmfObject AKind, double ASize = 0);
  // An object the file made and has not deleted (GDI itself checks its kind).
  bool Object(std::uint16_t AIndex) const { return AIndex < FObjects.size() && FObjects[AIndex] != TWmfObject::None; }
  bool Dib(const TRecord& R, std::size_t AAt, std::uint32_t AUsage, TMetafileDib& AInfo) const {
    return CheckDib(R, AAt, R.Size() - AAt, R.Size() - AAt, AUsage, AInfo);
  }
  bool EmbeddedEmf(const TRecord& R);

  const std::uint8_t* FData;
  std::size_t FSize;
  std::unique_ptr<TPlayfield> FField;
  std::vector<TWmfObject> FObjects;
  std::vector<double> FSizes;
  // The EMF that GDI split into comments, put together again.
  std::vector<std::uint8_t> FEmf;
  std::uint64_t FEmfTotal = 0;
  bool FEmbeddedEmf = false;  // complete and checked
  bool FChecksumHolds = false;
};

bool TWmfChecker::Create(TWmfObject AKind, double ASize) {
  // The player puts a new object into the first free slot of the table.
  const auto free = std::find(FObjects.begin(), FObjects.end(), TWmfObject::None);
  if (free == FObjects.end()) return false;
  *free = AKind;
  FSizes[static_cast<std::size_t>(free - FObjects.begin())] = ASize;
  return true;
}

// GDI keeps the EMF a WMF was converted from in comments, and plays that EMF
// instead of the records: it is put together and checked as an EMF.
bool TWmfChecker::EmbeddedEmf(const TRecord& R) {
  constexpr std::size_t CommentHeader = 34;  // "WMFC", type, version, checksum, flags, sizes
  constexpr std::size_t Start = 10;          // function, escape, count
  const std::uint64_t count = R.U16(8);
  if (!R.Has(Start, count)) return false;
  if (R.U16(6) != MFCOMMENT || count < CommentHeader || std::memcmp(R.Data() + Start, "WMFC", 4) != 0) return true;
  const std::uint32_t current = R.U32(Start + 22), remaining = R.U32(Start + 26), total = R.U32(Start + 30);
  if (R.U32(Start + 4) != 1 || R.U32(Start + 8) != 0x10000 || current > count - CommentHeader || remaining > total ||
      total > FSize)
    return false;
  if (FEmf.empty()) FEmfTotal = total;
  if (total != FEmfTotal || FEmf.size() + current > FEmfTotal) return false;
  FEmf.insert(FEmf.end(), R.Data() + Start + CommentHeader, R.Data() + Start + CommentHeader + current);
  if (FEmf.size() < FEmfTotal) return true;
  FEmbeddedEmf = TEmfChecker(FEmf.data(), FEmf.size()).Check();
  return FEmbeddedEmf;
}

bool TWmfChecker::Check() {
  constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
  constexpr std::size_t PlaceableSize = 22;
  constexpr std::size_t HeaderSize = 18;
  const TRecord file(FData, FSize);
  const bool placeable = FSize >= 4 && file.U32(0) == PlaceableKey;
  std::size_t position = placeable ? PlaceableSize : 0;
  if (FSize < position + HeaderSize || file.U16(position + 2) != 9) return false;
  // The box GDI+ scales to the destination, in units of 1/inch of an inch;
  // without one, all that 16-bit coordinates reach.
  double left = -32768, top = -32768, right = 32767, bottom = 32767;
  if (placeable) {
    left = file.I16(6), top = file.I16(8), right = file.I16(10), bottom = file.I16(12);
    // The box in pixels, at the screen's 96 per inch.
    const double inch = file.U16(14);
    if (right <= left || bottom <= top || inch == 0 ||
        !PictureWithinBounds((right - left) * 96 / inch, (bottom - top) * 96 / inch))
      return false;
  }
  FField = std::make_unique<TPlayfield>(left, top, right, bottom, 1, 1);
  FField->StartWindowOnBox(left, top, right, bottom);
  // GDI plays the EMF kept in the comments instead of the records only when
  // the comments' checksum holds: the 16-bit words of the file (after the
  // placeable header) then add up to 0.
  std::uint16_t sum = 0;
  for (std::size_t at = position; at + 2 <= FSize; at += 2) sum = static_cast<std::uint16_t>(sum + file.U16(at));
  FChecksumHolds = sum == 0;
  FObjects.assign(file.U16(position + 10), TWmfObject::None);
  FSizes.assign(FObjects.size(), 0);
  for (position += HeaderSize; position + 6 <= FSize;) {
    const std::uint64_t size = std::uint64_t{file.U32(position)} * 2;
    const std::uint16_t function = file.U16(position + 4);
    if (size < 6 || size > FSize - position) return false;
    if (function == 0) return true;  // the end record
    // Once the whole EMF is there (and the checksum holds), the player plays
    // it instead of the records, which then need only lie inside the file.
    if (!(FEmbeddedEmf && FChecksumHolds) && !CheckRecord(function, TRecord(FData + position, static_cast<std::size_t>(size))))
      return false;
    position += static_cast<std::size_t>(size);
  }
  return false;
}

bool TWmfChecker::CheckRecord(std::uint16_t AFunction, const TRecord& R) {
  TPlayState& state = FField->State();
  const auto minimum = [&](std::size_t ABytes) { return R.Size() >= ABytes; };
  const auto pen = [&] { return FField->Pen(); };
  switch (AFunction) {
    case META_POLYGON:
    case META_POLYLINE: {
      if (!minimum(8) || !R.Has(8, std::uint64_t{R.U16(6)} * 4)) return false;
      for (std::size_t i = 0; i < R.U16(6); ++i)
        if (!FField->Point(R.I16(8 + i * 4), R.I16(10 + i * 4))) return false;
      return pen();
    }
    case META_POLYPOLYGON: {
      if (!minimum(8)) return false;
      const std::size_t polygons = R.U16(6);
      if (!R.Has(8, polygons * 2)) return false;
      std::uint64_t points = 0;
      for (std::size_t i = 0; i < polygons; ++i) points += R.U16(8 + i * 2);
      const std::size_t at = 8 + polygons * 2;
      if (!R.Has(at, points * 4)) return false;
      for (std::size_t i = 0; i < points; ++i)
        if (!FField->Point(R.I16(at + i * 4), R.I16(at + 2 + i * 4))) return false;
      return pen();
    }
    case META_LINETO: case META_MOVETO:
      return minimum(10) && Point(R, 6) && pen();
    case META_SETPIXEL: case META_FLOODFILL:  // a colour, then the point
      return minimum(14) && Point(R, 10);
    case META_EXTFLOODFILL:  // a mode, a colour, then the point
      return minimum(16) && Point(R, 12);
    case META_RECTANGLE: case META_ELLIPSE: case META_EXCLUDECLIPRECT: case META_INTERSECTCLIPRECT:
      return minimum(14) && Rect(R, 6) && pen();
    case META_ROUNDRECT:
      return minimum(18) && Rect(R, 10) && FField->Length(R.I16(6)) && FField->Length(R.I16(8)) && pen();
    case META_ARC: case META_PIE: case META_CHORD:
      return minimum(22) && Rect(R, 14) && Point(R, 6) && Point(R, 10) && pen();
    case META_PATBLT:
      return minimum(18) && FField->Rect(R.I16(16), R.I16(14), R.I16(16) + R.I16(12), R.I16(14) + R.I16(10));
    case META_SETWINDOWORG:
      if (!minimum(10)) return false;
      state.WindowOrgY = R.I16(6), state.WindowOrgX = R.I16(8);
      return true;
    case META_SETVIEWPORTORG:
      if (!minimum(10)) return false;
      state.ViewportOrgY = R.I16(6), state.ViewportOrgX = R.I16(8);
      return true;
    case META_OFFSETWINDOWORG:
      if (!minimum(10)) return false;
      state.WindowOrgY += R.I16(6), state.WindowOrgX += R.I16(8);
      return true;
    case META_OFFSETVIEWPORTORG:
      if (!minimum(10)) return false;
      state.ViewportOrgY += R.I16(6), state.ViewportOrgX += R.I16(8);
      return true;
    case META_SETWINDOWEXT:
      if (!minimum(10)) return false;
      FField->SetWindowExt(R.I16(8), R.I16(6));
      return true;
    case META_SETVIEWPORTEXT:
      if (!minimum(10)) return false;
      FField->SetViewportExt(R.I16(8), R.I16(6));
      return true;
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT: {
      // yDenom, yNum, xDenom, xNum
      if (!minimum(14) || R.I16(6) == 0 || R.I16(10) == 0) return false;
      const double x = static_cast<double>(R.I16(12)) / R.I16(10), y = static_cast<double>(R.I16(8)) / R.I16(6);
      if (AFunction == META_SCALEWINDOWEXT)
        FField->SetWindowExt(state.WindowExtX * x, state.WindowExtY * y);
      else
        FField->SetViewportExt(state.ViewportExtX * x, state.ViewportExtY * y);
      return true;
    }
    case META_SAVEDC:
      return FField->Save();
    case META_RESTOREDC:
      return minimum(8) && FField->Restore(R.I16(6));
    case META_SELECTOBJECT: {
      if (!minimum(8) || !Object(R.U16(6))) return false;
      if (FObjects[R.U16(6)] == TWmfObject::Pen) state.PenWidth = FSizes[R.U16(6)];
      if (FObjects[R.U16(6)] == TWmfObject::Font) state.FontHeight = FSizes[R.U16(6)];
      return true;
    }
    case META_DELETEOBJECT:
      if (!minimum(8) || R.U16(6) >= FObjects.size() || FObjects[R.U16(6)] == TWmfObject::None) return false;
      FObjects[R.U16(6)] = TWmfObject::None;
      return true;
    case META_SELECTPALETTE:
      return minimum(8) && Object(R.U16(6));
    case META_SELECTCLIPREGION:
    case META_INVERTREGION:
    case META_PAINTREGION:
      return minimum(8) && Object(R.U16(6));
    case META_FILLREGION:
      return minimum(10) && Object(R.U16(6)) && Object(R.U16(8));
    case META_FRAMEREGION:
      return minimum(14) && Object(R.U16(6)) && Object(R.U16(8)) &&
             FField->Length(R.I16(10)) && FField->Length(R.I16(12));
    case META_CREATEPENINDIRECT: {
      if (!minimum(16)) return false;
      const double width = R.I16(8);
      return width >= 0 && FField->Length(width) && Create(TWmfObject::Pen, width);
    }
    case META_CREATEBRUSHINDIRECT: {
      if (!minimum(14)) return false;
      const std::uint16_t style = R.U16(6), hatch = R.U16(12);
      return (style == BS_SOLID || style == BS_NULL || (style == BS_HATCHED && hatch <= HS_DIAGCROSS)) &&
             Create(TWmfObject::Brush);
    }
    case META_CREATEFONTINDIRECT: {
      constexpr std::size_t Face = 6 + 18;
      if (!minimum(Face)) return false;
      const double height = std::abs(static_cast<double>(R.I16(6))), width = std::abs(static_cast<double>(R.I16(8)));
      const std::int16_t weight = R.I16(14);
      return weight >= 0 && weight <= 1000 && FField->Length(height) && FField->Length(width) &&
             Create(TWmfObject::Font, std::max(height, width));
    }
    case META_CREATEPALETTE:
      return minimum(10) && R.Has(10, std::uint64_t{R.U16(8)} * 4) && Create(TWmfObject::Palette);
    case META_SETPALENTRIES:
    case META_ANIMATEPALETTE:
      return minimum(10) && R.Has(10, std::uint64_t{R.U16(8)} * 4);
    case META_RESIZEPALETTE:
      return minimum(8);
    case META_DIBCREATEPATTERNBRUSH: {
      TMetafileDib info;
      if (!minimum(10)) return false;
      // Style BS_PATTERN carries a device bitmap: rows of the header's width.
      if (R.U16(6) == BS_PATTERN) return Dib(R, 10, DIB_RGB_COLORS, info) && Create(TWmfObject::Brush);
      return Dib(R, 10, R.U16(8), info) && Create(TWmfObject::Brush);
    }
    case META_CREATEPATTERNBRUSH: {
      // A BITMAP16 (14 bytes), 18 bytes the player skips, then the rows.
      if (!minimum(6 + 14 + 18)) return false;
      const std::uint64_t width = R.U16(8), height = R.U16(10), stride = R.U16(12);
      const std::uint64_t planes = R.Data()[14], bits = R.Data()[15];
      return planes == 1 && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
             stride >= (width * bits + 15) / 16 * 2 && R.Has(38, stride * height) && Create(TWmfObject::Brush);
    }
    case META_CREATEREGION: {
      // A Region16: a 22-byte header, then ScanCount scans, each a count,
      // top and bottom, count x values, and the count again.
      constexpr std::size_t Header = 6 + 22;
      if (!minimum(Header)) return false;
      std::size_t at = Header;
      for (std::size_t scan = 0, scans = R.U16(6 + 10); scan < scans; ++scan) {
        if (!R.Has(at, 6)) return false;
        const std::size_t count = R.U16(at);
        if (count % 2 != 0 || !R.Has(at + 6, count * 2 + 2) || R.U16(at + 6 + count * 2) != count) return false;
        at += 6 + count * 2 + 2;
      }
      return Create(TWmfObject::Region);
    }
    case META_TEXTOUT: {
      if (!minimum(8)) return false;
      const std::uint64_t count = R.U16(6), padded = (count + 1) / 2 * 2;
      return R.Has(8, padded + 4) && FField->Point(R.I16(static_cast<std::size_t>(10 + padded)), R.I16(static_cast<std::size_t>(8 + padded))) &&
             FField->Font();
    }
    case META_EXTTEXTOUT: {
      if (!minimum(14)) return false;
      const std::uint64_t count = R.U16(10), options = R.U16(12);
      const std::uint64_t text = 14 + ((options & (ETO_OPAQUE | ETO_CLIPPED)) ? 8 : 0);
      const std::uint64_t padded = (count + 1) / 2 * 2;
      if (!R.Has(text, padded)) return false;
      // Spacing, when there is any, is there for every character.
      const std::uint64_t rest = R.Size() - text - padded;
      if (rest >= 2 && rest < count * 2) return false;
      if (rest >= count * 2)
        for (std::uint64_t i = 0; i < count; ++i)
          if (!FField->Length(R.I16(static_cast<std::size_t>(text + padded + i * 2)))) return false;
      return FField->Point(R.I16(8), R.I16(6)) && FField->Font();
    }
    case META_ESCAPE:
      return minimum(10) && EmbeddedEmf(R);
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_STRETCHDIB:
    case META_SETDIBTODEV:
    case META_BITBLT:
    case META_STRETCHBLT: {
      // The parameters stand in reverse; the source bitmap follows them.
      // Without a bitmap (a pattern blit) the record has one word more.
      std::size_t parameters = 0;
      std::int64_t xSrc = 0, ySrc = 0, cxSrc = 0, cySrc = 0, x = 0, y = 0, cx = 0, cy = 0;
      std::uint32_t usage = DIB_RGB_COLORS;
      switch (AFunction) {
        case META_DIBBITBLT: case META_BITBLT:
          parameters = 8;  // rop (2), ySrc, xSrc, height, width, yDest, xDest
          if (!minimum(6 + parameters * 2)) return false;
          ySrc = R.I16(10), xSrc = R.I16(12), cy = cySrc = R.I16(14), cx = cxSrc = R.I16(16), y = R.I16(18), x = R.I16(20);
          if (R.Size() == 6 + 9 * 2)  // a reserved word after the operation
            return FField->Rect(R.I16(22), R.I16(20), R.I16(22) + R.I16(18), R.I16(20) + R.I16(16));
          break;
        case META_DIBSTRETCHBLT: case META_STRETCHBLT:
          parameters = 10;  // rop (2), srcHeight, srcWidth, ySrc, xSrc, height, width, yDest, xDest
          if (!minimum(6 + parameters * 2)) return false;
          cySrc = R.I16(10), cxSrc = R.I16(12), ySrc = R.I16(14), xSrc = R.I16(16);
          cy = R.I16(18), cx = R.I16(20), y = R.I16(22), x = R.I16(24);
          if (R.Size() == 6 + 11 * 2)
            return FField->Rect(R.I16(26), R.I16(24), R.I16(26) + R.I16(22), R.I16(24) + R.I16(20));
          break;
        case META_STRETCHDIB:
          parameters = 11;  // rop (2), usage, srcHeight, srcWidth, ySrc, xSrc, height, width, yDest, xDest
          if (!minimum(6 + parameters * 2)) return false;
          usage = R.U16(10), cySrc = R.I16(12), cxSrc = R.I16(14), ySrc = R.I16(16), xSrc = R.I16(18);
          cy = R.I16(20), cx = R.I16(22), y = R.I16(24), x = R.I16(26);
          break;
        default:  // META_SETDIBTODEV: usage, scans, start scan, ySrc, xSrc, height, width, yDest, xDest
          parameters = 9;
          if (!minimum(6 + parameters * 2)) return false;
          usage = R.U16(6), ySrc = R.I16(12), xSrc = R.I16(14);
          cy = cySrc = R.I16(16), cx = cxSrc = R.I16(18), y = R.I16(20), x = R.I16(22);
          break;
      }
      if (!FField->Rect(static_cast<double>(x), static_cast<double>(y), static_cast<double>(x + cx), static_cast<double>(y + cy)))
        return false;
      const std::size_t at = 6 + parameters * 2;
      TMetafileDib info;
      if (AFunction == META_BITBLT || AFunction == META_STRETCHBLT) {
        // A BITMAP16 and its rows.
        if (!R.Has(at, 10)) return false;
        const std::uint64_t width = R.U16(at + 2), height = R.U16(at + 4), stride = R.U16(at + 6);
        const std::uint64_t planes = R.Data()[at + 8], bits = R.Data()[at + 9];
        if (planes != 1 || bits == 0 || bits > 32 || stride < (width * bits + 15) / 16 * 2 || !R.Has(at + 14, stride * height))
          return false;
        info = {static_cast<std::int64_t>(width), static_cast<std::int64_t>(height), static_cast<int>(bits)};
      } else if (!Dib(R, at, usage, info)) {
        return false;
      }
      if (AFunction == META_SETDIBTODEV &&
          std::uint64_t{R.U16(8)} + R.U16(10) > static_cast<std::uint64_t>(info.Height))  // start scan + scans
        return false;
      return InsideDib(info, xSrc, ySrc, cxSrc, cySrc);
    }
    case META_SETMAPMODE: case META_SETBKMODE: case META_SETROP2: case META_SETRELABS: case META_SETPOLYFILLMODE:
    case META_SETSTRETCHBLTMODE: case META_SETTEXTCHAREXTRA: case META_SETTEXTALIGN:
      return minimum(8);
    case META_SETBKCOLOR: case META_SETTEXTCOLOR: case META_OFFSETCLIPRGN: case META_SETMAPPERFLAGS:
    case META_SETTEXTJUSTIFICATION: case META_SETLAYOUT:
      return minimum(10);
    default:
      return true;
  }
}

}  // namespace

bool dxIsMetafileData(std::span<const std::uint8_t> AData) {
  const TRecord head(AData.data(), AData.size());
  return (head.Has(0, 44) && head.U32(0) == EMR_HEADER && std::memcmp(AData.data() + 40, " EMF", 4) == 0) ||
         (head.Has(0, 4) && head.U32(0) == 0x9AC6CDD7) ||
         (head.Has(0, 6) && (head.U16(0) == 1 || head.U16(0) == 2) && head.U16(2) == 9);
}

bool dxIsPlayableMetafile(std::span<const std::uint8_t> AData) {
  if (AData.size() >= 4 && TRecord(AData.data(), AData.size()).U32(0) == EMR_HEADER)
    return TEmfChecker(AData.data(), AData.size()).Check();
  return TWmfChecker(AData.data(), AData.size()).Check();
}
