// The text forms of SVG values: numbers, lengths, rectangles, colours,
// paints, references, keywords, transform lists, path data, inline styles
// and font shorthands, and the attribute readers and writers built on them.
#include "library/vector/dxSVGCore.h"

#include "library/core/data/dxBase64.h"
#include "library/core/base/dxCore.h"
#include "library/vector/dxSVGCore_Internal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// ---------------------------------------------------------------------------
// Numbers

bool IsAsciiDigit(wchar_t C) { return C >= L'0' && C <= L'9'; }
bool IsBlank(wchar_t C) { return C <= L' '; }

std::wstring_view TrimView(std::wstring_view S) {
  while (!S.empty() && IsBlank(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsBlank(S.back())) S.remove_suffix(1);
  return S;
}

// A decimal number with '.' as the separator and an optional exponent, as
// a finite single-precision value; blanks around are allowed.
bool TryParseNumber(std::wstring_view S, float& AValue) {
  S = TrimView(S);
  if (!S.empty() && S.front() == L'+') S.remove_prefix(1);
  if (S.empty() || S.size() > 64) return false;
  char buffer[64];
  for (std::size_t i = 0; i < S.size(); ++i) {
    const wchar_t c = S[i];
    if (!(IsAsciiDigit(c) || c == L'.' || c == L'e' || c == L'E' || c == L'-' || c == L'+')) return false;
    buffer[i] = static_cast<char>(c);
  }
  double value = 0;
  const auto [end, error] = std::from_chars(buffer, buffer + S.size(), value);
  if (error != std::errc() || end != buffer + S.size()) return false;
  if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max()) return false;
  AValue = static_cast<float>(value);
  return true;
}

// The runs of number characters in a text, one at a time: a run goes over
// digits, 'e' and 'E', one '.', and a sign right after the exponent letter;
// '+', '-' and '.' elsewhere start the next run; other characters separate.
class TNumberRuns {
 public:
  explicit TNumberRuns(std::wstring_view S) : FText(S) {}

  // The next run and whether a '%' follows it; false at the end.
  bool Next(std::wstring_view& ARun, bool& APercent) {
    while (FPos < FText.size() && !StartsRun(FText[FPos])) ++FPos;
    if (FPos >= FText.size()) return false;
    const std::size_t start = FPos;
    bool hasDot = FText[FPos] == L'.';
    for (++FPos; FPos < FText.size(); ++FPos) {
      const wchar_t c = FText[FPos];
      if (IsAsciiDigit(c) || c == L'e' || c == L'E') continue;
      if (c == L'.' && !hasDot) {
        hasDot = true;
        continue;
      }
      if ((c == L'+' || c == L'-') && (FText[FPos - 1] == L'e' || FText[FPos - 1] == L'E')) continue;
      break;
    }
    ARun = FText.substr(start, FPos - start);
    APercent = FPos < FText.size() && FText[FPos] == L'%';
    return true;
  }

  // The next number that converts; false at the end.
  bool NextNumber(float& AValue, float APercentBase = 100) {
    std::wstring_view run;
    bool percent;
    while (Next(run, percent))
      if (TryParseNumber(run, AValue)) {
        if (percent) AValue = AValue * APercentBase / 100;
        return true;
      }
    return false;
  }

  // An arc flag: a single '0' or '1' after blanks and a comma, which need
  // not be followed by a separator ("a7 7 0 100 14"); any other number as
  // not zero.
  bool NextFlag(bool& AValue) {
    while (FPos < FText.size() && (IsBlank(FText[FPos]) || FText[FPos] == L',')) ++FPos;
    if (FPos < FText.size() && (FText[FPos] == L'0' || FText[FPos] == L'1')) {
      AValue = FText[FPos++] == L'1';
      return true;
    }
    float value;
    if (!NextNumber(value)) return false;
    AValue = std::abs(value) > 0.0001f;
    return true;
  }

 private:
  static bool StartsRun(wchar_t C) {
    return IsAsciiDigit(C) || C == L'e' || C == L'E' || C == L'.' || C == L'+' || C == L'-';
  }
  std::wstring_view FText;
  std::size_t FPos = 0;
};

// The tokenizer under every numeric parser: AProc receives each number.
template <class TProc>
void ForEachNumber(std::wstring_view S, float APercentBase, TProc&& AProc) {
  TNumberRuns runs(S);
  float value;
  while (runs.NextNumber(value, APercentBase)) AProc(value);
}

// ---------------------------------------------------------------------------
// Units and keywords

constexpr std::wstring_view UnitKeywords[] = {L"px", L"mm", L"cm", L"in", L"pc", L"pt", L"%"};
constexpr std::wstring_view ContentUnitsKeywords[] = {L"userSpaceOnUse", L"objectBoundingBox"};
constexpr std::wstring_view FillModeKeywords[] = {L"nonzero", L"evenodd", L"inherit"};
constexpr std::wstring_view LineCapKeywords[] = {L"", L"butt", L"square", L"round"};
constexpr std::wstring_view LineJoinKeywords[] = {L"miter", L"bevel", L"round", L""};
constexpr std::wstring_view TextAnchorKeywords[] = {L"start", L"middle", L"end", L"inherit"};

template <std::size_t N>
int KeywordIndex(const std::wstring_view (&AKeywords)[N], std::wstring_view S) {
  for (std::size_t i = 0; i < N; ++i)
    if (AKeywords[i] == S) return static_cast<int>(i);
  return -1;
}

bool SameTextAscii(std::wstring_view A, std::wstring_view B) { return IsSameText(A, B); }

bool StartsTextAscii(std::wstring_view APrefix, std::wstring_view S) {
  return S.size() >= APrefix.size() && SameTextAscii(S.substr(0, APrefix.size()), APrefix);
}

bool IsHexDigitChar(wchar_t C) {
  return IsAsciiDigit(C) || (C >= L'a' && C <= L'f') || (C >= L'A' && C <= L'F');
}

// ---------------------------------------------------------------------------
// Transform operators: each makes its matrix from the argument list.

using TdxSVGTransformOperator = XFORM (*)(const std::vector<float>& AArgs);

float ArgumentOr(const std::vector<float>& AArgs, std::size_t AIndex, float ADefault) {
  return AIndex < AArgs.size() ? AArgs[AIndex] : ADefault;
}

XFORM MatrixOperator(const std::vector<float>& A) {
  return MakeXForm(ArgumentOr(A, 0, 1), ArgumentOr(A, 1, 0), ArgumentOr(A, 2, 0), ArgumentOr(A, 3, 1),
                   ArgumentOr(A, 4, 0), ArgumentOr(A, 5, 0));
}

XFORM RotateOperator(const std::vector<float>& A) {
  const float cx = ArgumentOr(A, 1, 0);
  const float cy = ArgumentOr(A, 2, 0);
  const XFORM moved = CombineXForms(MakeTranslationXForm(-cx, -cy), MakeRotationXForm(ArgumentOr(A, 0, 0)));
  return CombineXForms(moved, MakeTranslationXForm(cx, cy));
}

XFORM ScaleOperator(const std::vector<float>& A) {
  const float sx = ArgumentOr(A, 0, 1);
  return MakeScaleXForm(sx, ArgumentOr(A, 1, sx));
}

float TanOfDegrees(float AAngle) { return static_cast<float>(std::tan(AAngle * std::numbers::pi / 180)); }

XFORM SkewXOperator(const std::vector<float>& A) { return MakeXForm(1, 0, TanOfDegrees(ArgumentOr(A, 0, 0)), 1, 0, 0); }
XFORM SkewYOperator(const std::vector<float>& A) { return MakeXForm(1, TanOfDegrees(ArgumentOr(A, 0, 0)), 0, 1, 0, 0); }

XFORM TranslateOperator(const std::vector<float>& A) {
  return MakeTranslationXForm(ArgumentOr(A, 0, 0), ArgumentOr(A, 1, 0));
}

std::unique_ptr<std::unordered_map<String, TdxSVGTransformOperator>> GTransformOperators;

// ---------------------------------------------------------------------------
// Arcs

TdxPointF RotatePoint(const TdxPointF& P, double ACos, double ASin) {
  return TdxPointF(static_cast<float>(P.X * ACos - P.Y * ASin), static_cast<float>(P.X * ASin + P.Y * ACos));
}

bool IsFinitePoint(const TdxPointF& P) { return std::isfinite(P.X) && std::isfinite(P.Y); }

}  // namespace

// ---------------------------------------------------------------------------
// Values

bool TdxSVGValue::IsEmpty() const { return std::abs(Data) <= 0.0001f; }

float TdxSVGValue::ToPixels(float ADpi) const {
  if (UnitsType == utPercents) throw EArgumentException(L"TdxSVGValue.ToPixels");
  return ToPixels(ADpi, 0);
}

float TdxSVGValue::ToPixels(float ADpi, float AReference) const {
  switch (UnitsType) {
    case utPx: return Data;
    case utMm: return ADpi * Data / 25.4f;
    case utCm: return ADpi * Data / 2.54f;
    case utIn: return ADpi * Data;
    case utPc: return ADpi * Data * 12 / 72;
    case utPt: return ADpi * Data / 72;
    case utPercents: return Data / 100 * AReference;
  }
  return Data;
}

void TdxSVGFill::UpdateReference(const String& AOldID, const String& ANewID) {
  if (IsReference() && IsSameText(std::get<TReference>(FValue).ID, AOldID)) std::get<TReference>(FValue).ID = ANewID;
}

void TdxSVGPoints::Assign(std::span<const TPoint> APoints) {
  FItems.clear();
  FItems.reserve(APoints.size());
  for (const TPoint& p : APoints) FItems.emplace_back(p);
}

TdxRectF TdxSVGPoints::BoudingRect() const {
  if (FItems.empty()) return TdxRectF();
  TdxRectF result(FItems[0].X, FItems[0].Y, FItems[0].X, FItems[0].Y);
  for (const TdxPointF& p : FItems) {
    result.Left = std::min(result.Left, p.X);
    result.Top = std::min(result.Top, p.Y);
    result.Right = std::max(result.Right, p.X);
    result.Bottom = std::max(result.Bottom, p.Y);
  }
  return result;
}

String dxSVGFloatToString(float AValue) { return FormatFloat(L"0.#####", AValue, InvariantFormatSettings); }

// ---------------------------------------------------------------------------
// Path commands

void TdxSVGParserPathCommandOpen::Append(TdxGPPath* APath) { APath->FigureStart(); }

void TdxSVGParserPathCommandClose::Append(TdxGPPath* APath) { APath->FigureFinish(); }

void TdxSVGParserPathCommandLine::Append(TdxGPPath* APath) { APath->AddLine(StartPoint, FinishPoint); }

void TdxSVGParserPathCommandCurveTo::Append(TdxGPPath* APath) {
  APath->AddBezier(StartPoint, Point1, Point2, FinishPoint);
}

void TdxSVGParserPathCommandQuadraticCurveTo::Append(TdxGPPath* APath) {
  const TdxPointF control1(StartPoint.X + 2.0f / 3 * (MiddlePoint.X - StartPoint.X),
                           StartPoint.Y + 2.0f / 3 * (MiddlePoint.Y - StartPoint.Y));
  const TdxPointF control2(FinishPoint.X + 2.0f / 3 * (MiddlePoint.X - FinishPoint.X),
                           FinishPoint.Y + 2.0f / 3 * (MiddlePoint.Y - FinishPoint.Y));
  APath->AddBezier(StartPoint, control1, control2, FinishPoint);
}

// An elliptical arc from its end points to its centre and angles, then one
// cubic curve per part of at most a quarter turn.
void TdxSVGParserPathCommandArc::Append(TdxGPPath* APath) {
  if (StartPoint == FinishPoint) return;
  double rx = std::abs(Radius.X);
  double ry = std::abs(Radius.Y);
  if (rx <= 0.0001 || ry <= 0.0001) {
    APath->AddLine(StartPoint, FinishPoint);
    return;
  }
  const double phi = Angle * std::numbers::pi / 180;
  const double cosPhi = std::cos(phi);
  const double sinPhi = std::sin(phi);
  const double dx = (StartPoint.X - FinishPoint.X) / 2.0;
  const double dy = (StartPoint.Y - FinishPoint.Y) / 2.0;
  const double x1 = cosPhi * dx + sinPhi * dy;
  const double y1 = -sinPhi * dx + cosPhi * dy;

  double cx = 0;
  double cy = 0;
  const double numerator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
  if (numerator > rx * rx * ry * ry) {
    const double scale = std::sqrt(numerator / (rx * rx * ry * ry));
    rx *= scale;
    ry *= scale;
  } else {
    double g = std::sqrt(std::max(0.0, rx * rx * ry * ry / numerator - 1));
    if (Sweep == LargeArc) g = -g;
    cx = g * rx * y1 / ry;
    cy = -g * ry * x1 / rx;
  }

  const TdxPointF u(static_cast<float>((x1 - cx) / rx), static_cast<float>((y1 - cy) / ry));
  const TdxPointF v(static_cast<float>((-x1 - cx) / rx), static_cast<float>((-y1 - cy) / ry));
  const double startAngle = TdxVectors::Angle(TdxPointF(1, 0), u);
  double sweep = TdxVectors::Angle(u, v);
  if (!Sweep && sweep > 0) sweep -= 2 * std::numbers::pi;
  if (Sweep && sweep < 0) sweep += 2 * std::numbers::pi;

  const TdxPointF centre = RotatePoint(TdxPointF(static_cast<float>(cx), static_cast<float>(cy)), cosPhi, sinPhi);
  const double centreX = centre.X + (StartPoint.X + FinishPoint.X) / 2.0;
  const double centreY = centre.Y + (StartPoint.Y + FinishPoint.Y) / 2.0;
  const auto pointAt = [&](double ATheta) {
    const TdxPointF p = RotatePoint(TdxPointF(static_cast<float>(rx * std::cos(ATheta)),
                                              static_cast<float>(ry * std::sin(ATheta))), cosPhi, sinPhi);
    return TdxPointF(static_cast<float>(centreX + p.X), static_cast<float>(centreY + p.Y));
  };
  const auto derivativeAt = [&](double ATheta) {
    return RotatePoint(TdxPointF(static_cast<float>(-rx * std::sin(ATheta)), static_cast<float>(ry * std::cos(ATheta))),
                       cosPhi, sinPhi);
  };

  const int parts = static_cast<int>(std::ceil(std::abs(sweep) / (std::numbers::pi / 2)));
  if (!std::isfinite(sweep) || !std::isfinite(centreX) || !std::isfinite(centreY) || parts < 1 || parts > 4) {
    APath->AddLine(StartPoint, FinishPoint);
    return;
  }
  const double delta = sweep / parts;
  const double k = 4.0 / 3 * std::tan(delta / 4);
  double theta = startAngle;
  TdxPointF begin = StartPoint;
  for (int i = 0; i < parts; ++i) {
    const TdxPointF end = pointAt(theta + delta);
    const TdxPointF d1 = derivativeAt(theta);
    const TdxPointF d2 = derivativeAt(theta + delta);
    const TdxPointF control1(static_cast<float>(begin.X + k * d1.X), static_cast<float>(begin.Y + k * d1.Y));
    const TdxPointF control2(static_cast<float>(end.X - k * d2.X), static_cast<float>(end.Y - k * d2.Y));
    if (!IsFinitePoint(control1) || !IsFinitePoint(control2) || !IsFinitePoint(end)) {
      APath->AddLine(begin, FinishPoint);
      return;
    }
    APath->AddBezier(begin, control1, control2, end);
    begin = end;
    theta += delta;
  }
}

// ---------------------------------------------------------------------------
// The path data parser

void TdxSVGParserPath::Create() { InitializeCommandProcs(); }

void TdxSVGParserPath::InitializeCommandProcs() {
  FCommandProcs = {
      {L'a', &TdxSVGParserPath::DoArc},
      {L'c', &TdxSVGParserPath::DoCurveTo},
      {L'h', &TdxSVGParserPath::DoHorizontalLine},
      {L'l', &TdxSVGParserPath::DoLine},
      {L'm', &TdxSVGParserPath::DoMoveTo},
      {L'q', &TdxSVGParserPath::DoQuadraticCurveTo},
      {L's', &TdxSVGParserPath::DoSmoothCurveTo},
      {L't', &TdxSVGParserPath::DoSmoothQuadraticCurveTo},
      {L'v', &TdxSVGParserPath::DoVerticalLine},
      {L'z', &TdxSVGParserPath::DoClose},
  };
}

void TdxSVGParserPath::Parse(const String& S) {
  const std::wstring_view text(S);
  const auto startsSegment = [](wchar_t C) {
    if (C == L'e') return false;
    if (C < 128) return (C >= L'a' && C <= L'z') || (C >= L'A' && C <= L'Z');
    return IsAlphaChar(C);
  };
  std::size_t start = 0;
  const auto runSegment = [&](std::size_t AEnd) {
    const std::wstring_view segment = TrimView(text.substr(start, AEnd - start));
    if (segment.empty()) return;
    const wchar_t letter = segment.front();
    const wchar_t lower = letter >= L'A' && letter <= L'Z' ? static_cast<wchar_t>(letter + (L'a' - L'A')) : letter;
    const auto proc = FCommandProcs.find(lower);
    if (proc == FCommandProcs.end()) return;
    (this->*proc->second)(segment.substr(1), letter == lower);
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > start && startsSegment(text[i])) {
      runSegment(i);
      start = i;
    }
  }
  runSegment(text.size());
}

TdxPointF TdxSVGParserPath::CurrentPoint() const {
  return FCommands.empty() ? TdxPointF() : FCommands.back()->FinishPoint;
}

TdxPointF TdxSVGParserPath::Absolute(const TdxPointF& P, bool ARelative) const {
  if (!ARelative) return P;
  const TdxPointF current = CurrentPoint();
  return TdxPointF(P.X + current.X, P.Y + current.Y);
}

template <class T>
T* TdxSVGParserPath::AddCommand(const TdxPointF& AFinishPoint) {
  T* command = New<T>();
  FCommands.emplace_back(command);
  command->FinishPoint = AFinishPoint;
  return command;
}

void TdxSVGParserPath::DoMoveTo(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsPoints(AArguments, FBufferPoints);
  for (std::size_t i = 0; i < FBufferPoints.size(); ++i) {
    const TdxPointF start = CurrentPoint();
    const TdxPointF p = Absolute(FBufferPoints[i], ARelative);
    if (i == 0) {
      AddCommand<TdxSVGParserPathCommandMoveTo>(p);
      FLastOpen = AddCommand<TdxSVGParserPathCommandOpen>(p);
    } else {
      AddCommand<TdxSVGParserPathCommandLine>(p)->StartPoint = start;
    }
  }
}

void TdxSVGParserPath::DoLine(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsPoints(AArguments, FBufferPoints);
  for (const TdxPointF& point : FBufferPoints) {
    const TdxPointF start = CurrentPoint();
    AddCommand<TdxSVGParserPathCommandLine>(Absolute(point, ARelative))->StartPoint = start;
  }
}

void TdxSVGParserPath::DoHorizontalLine(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsNumbers(AArguments, FBufferValues);
  for (float x : FBufferValues) {
    const TdxPointF start = CurrentPoint();
    AddCommand<TdxSVGParserPathCommandLine>(TdxPointF(ARelative ? start.X + x : x, start.Y))->StartPoint = start;
  }
}

void TdxSVGParserPath::DoVerticalLine(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsNumbers(AArguments, FBufferValues);
  for (float y : FBufferValues) {
    const TdxPointF start = CurrentPoint();
    AddCommand<TdxSVGParserPathCommandLine>(TdxPointF(start.X, ARelative ? start.Y + y : y))->StartPoint = start;
  }
}

void TdxSVGParserPath::DoCurveTo(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsPoints(AArguments, FBufferPoints);
  for (std::size_t i = 0; i + 2 < FBufferPoints.size(); i += 3) {
    const TdxPointF start = CurrentPoint();
    const TdxPointF p1 = Absolute(FBufferPoints[i], ARelative);
    const TdxPointF p2 = Absolute(FBufferPoints[i + 1], ARelative);
    auto* curve = AddCommand<TdxSVGParserPathCommandCurveTo>(Absolute(FBufferPoints[i + 2], ARelative));
    curve->StartPoint = start;
    curve->Point1 = p1;
    curve->Point2 = p2;
  }
}

void TdxSVGParserPath::DoSmoothCurveTo(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsPoints(AArguments, FBufferPoints);
  for (std::size_t i = 0; i + 1 < FBufferPoints.size(); i += 2) {
    const TdxPointF start = CurrentPoint();
    TdxPointF p1 = start;
    if (auto* previous = dynamic_cast<TdxSVGParserPathCommandCurveTo*>(LastCommand()))
      p1 = TdxPointF(2 * start.X - previous->Point2.X, 2 * start.Y - previous->Point2.Y);
    const TdxPointF p2 = Absolute(FBufferPoints[i], ARelative);
    auto* curve = AddCommand<TdxSVGParserPathCommandCurveTo>(Absolute(FBufferPoints[i + 1], ARelative));
    curve->StartPoint = start;
    curve->Point1 = p1;
    curve->Point2 = p2;
  }
}

void TdxSVGParserPath::DoQuadraticCurveTo(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsPoints(AArguments, FBufferPoints);
  for (std::size_t i = 0; i + 1 < FBufferPoints.size(); i += 2) {
    const TdxPointF start = CurrentPoint();
    const TdxPointF middle = Absolute(FBufferPoints[i], ARelative);
    auto* curve = AddCommand<TdxSVGParserPathCommandQuadraticCurveTo>(Absolute(FBufferPoints[i + 1], ARelative));
    curve->StartPoint = start;
    curve->MiddlePoint = middle;
  }
}

void TdxSVGParserPath::DoSmoothQuadraticCurveTo(std::wstring_view AArguments, bool ARelative) {
  TdxSVGParserNumbers::AsPoints(AArguments, FBufferPoints);
  for (const TdxPointF& point : FBufferPoints) {
    const TdxPointF start = CurrentPoint();
    TdxPointF middle = start;
    if (auto* previous = dynamic_cast<TdxSVGParserPathCommandQuadraticCurveTo*>(LastCommand()))
      middle = TdxPointF(2 * start.X - previous->MiddlePoint.X, 2 * start.Y - previous->MiddlePoint.Y);
    auto* curve = AddCommand<TdxSVGParserPathCommandQuadraticCurveTo>(Absolute(point, ARelative));
    curve->StartPoint = start;
    curve->MiddlePoint = middle;
  }
}

void TdxSVGParserPath::DoArc(std::wstring_view AArguments, bool ARelative) {
  TNumberRuns runs(AArguments);
  float rx, ry, angle, x, y;
  bool largeArc, sweep;
  while (runs.NextNumber(rx) && runs.NextNumber(ry) && runs.NextNumber(angle) && runs.NextFlag(largeArc) &&
         runs.NextFlag(sweep) && runs.NextNumber(x) && runs.NextNumber(y)) {
    const TdxPointF start = CurrentPoint();
    auto* arc = AddCommand<TdxSVGParserPathCommandArc>(Absolute(TdxPointF(x, y), ARelative));
    arc->Radius = TdxPointF(std::abs(rx), std::abs(ry));
    arc->Angle = angle;
    arc->LargeArc = largeArc;
    arc->Sweep = sweep;
    arc->StartPoint = start;
  }
}

void TdxSVGParserPath::DoClose(std::wstring_view, bool) {
  AddCommand<TdxSVGParserPathCommandClose>(FLastOpen ? FLastOpen->FinishPoint : CurrentPoint());
}

// ---------------------------------------------------------------------------
// TdxSVGPath

void TdxSVGPath::Assign(TdxGPPath* ASource) {
  auto* source = dynamic_cast<TdxSVGPath*>(ASource);
  if (!source) throw EArgumentException(String());
  inherited::Assign(ASource);
  FCommandLine = source->FCommandLine;
}

void TdxSVGPath::FromString(const String& S) {
  Reset();
  FCommandLine = S;
  if (S.empty()) return;
  const TOwned<TdxSVGParserPath> parser(New<TdxSVGParserPath>());
  parser->Parse(S);
  for (int i = 0; i < parser->CommandCount(); ++i) parser->GetCommand(i)->Append(this);
}

// ---------------------------------------------------------------------------
// Numbers, lengths, rectangles, transforms

TdxSVGValues TdxSVGParserNumbers::AsNumbers(std::wstring_view S, float APercentBase) {
  TdxSVGValues result;
  result.SetCapacity(static_cast<int>(S.size() / 4));
  ForEachNumber(S, APercentBase, [&](float AValue) { result.Add(AValue); });
  return result;
}

void TdxSVGParserNumbers::AsNumbers(std::wstring_view S, const TNumberProc& AProc) { ForEachNumber(S, 100, AProc); }

void TdxSVGParserNumbers::AsNumbers(std::wstring_view S, std::vector<float>& AValues, float APercentBase) {
  AValues.clear();
  ForEachNumber(S, APercentBase, [&](float AValue) { AValues.push_back(AValue); });
}

void TdxSVGParserNumbers::AsPoints(std::wstring_view S, std::vector<TdxPointF>& APoints) {
  APoints.clear();
  APoints.reserve(S.size() / 8);
  bool hasX = false;
  float x = 0;
  ForEachNumber(S, 100, [&](float AValue) {
    if (hasX) APoints.emplace_back(x, AValue);
    else x = AValue;
    hasX = !hasX;
  });
}

void TdxSVGParserNumbers::AsPoints(std::wstring_view S, TdxSVGPoints& APoints) { AsPoints(S, APoints.List()); }

void TdxSVGParserNumbers::AsPoints(std::wstring_view S, const TPointProc& AProc) {
  std::vector<TdxPointF> points;
  AsPoints(S, points);
  for (const TdxPointF& p : points) AProc(p);
}

void TdxSVGParserNumbers::AsPoints(const TdxSVGValues& AValues, const TPointProc& AProc) {
  for (int i = 0; i + 1 < AValues.Count(); i += 2) AProc(TdxPointF(AValues.Items(i), AValues.Items(i + 1)));
}

bool TdxSVGParserValue::Parse(const String& S, TdxSVGValue& AValue) {
  const std::wstring_view text = TrimView(S);
  std::size_t lastDigit = std::wstring_view::npos;
  for (std::size_t i = text.size(); i-- > 0;) {
    const wchar_t c = text[i];
    if (c < 128 ? IsAsciiDigit(c) : IsDigitChar(c)) {
      lastDigit = i;
      break;
    }
  }
  if (lastDigit == std::wstring_view::npos) return false;
  const std::wstring_view unit = TrimView(text.substr(lastDigit + 1));
  TdxSVGUnitsType units = utPx;
  if (!unit.empty()) {
    // An unknown unit makes the value invalid.
    const auto known = std::find_if(std::begin(UnitKeywords), std::end(UnitKeywords),
                                    [&](std::wstring_view AKeyword) { return SameTextAscii(AKeyword, unit); });
    if (known == std::end(UnitKeywords)) return false;
    units = static_cast<TdxSVGUnitsType>(known - std::begin(UnitKeywords));
  }
  float number;
  if (!TryParseNumber(text.substr(0, lastDigit + 1), number)) return false;
  AValue = TdxSVGValue::Create(number, units);
  return true;
}

TdxRectF TdxSVGParserRect::Parse(const String& S) {
  String text = S;
  if (const std::size_t at = text.find(L"new"); at != String::npos) text.erase(at, 3);
  const TdxSVGValues values = TdxSVGParserNumbers::AsNumbers(TrimView(text));
  if (values.Count() != 4) return TdxRectF();
  const float* v = values.List().data();
  return TdxRectF(v[0], v[1], v[0] + v[2], v[1] + v[3]);
}

void TdxSVGParserTransform::Parse(const String& S, TdxMatrix* AMatrix) {
  AMatrix->Reset();
  if (!GTransformOperators) return;
  XFORM result = GetIdentityXForm();
  std::vector<float> arguments;
  std::size_t start = 0;
  while (start < S.size()) {
    std::size_t end = S.find(L')', start);
    if (end == String::npos) end = S.size();
    const std::wstring_view piece = TrimView(std::wstring_view(S).substr(start, end - start));
    start = end + 1;
    const std::size_t open = piece.find(L'(');
    if (open == std::wstring_view::npos) continue;
    const auto op = GTransformOperators->find(String(piece.substr(0, open)));
    if (op == GTransformOperators->end()) continue;
    TdxSVGParserNumbers::AsNumbers(piece.substr(open + 1), arguments);
    result = CombineXForms(op->second(arguments), result);
  }
  AMatrix->Assign(result);
}

// ---------------------------------------------------------------------------
// Data URIs

void TdxSVGParserImage::StringToImage(TdxSmartImage* ATarget, const String& S) {
  ATarget->Clear();
  if (S.compare(0, 5, L"data:") != 0) return;
  const std::size_t semicolon = S.find(L';');
  if (semicolon == String::npos) return;
  const std::size_t comma = S.find(L',', semicolon);
  if (comma == String::npos || !IsSameText(std::wstring_view(S).substr(semicolon + 1, comma - semicolon - 1), L"base64"))
    return;
  std::wstring_view data = std::wstring_view(S).substr(comma + 1);
  while (!data.empty() && data.back() < 33) data.remove_suffix(1);
  std::vector<std::uint8_t> bytes(data.size() / 4 * 3 + 3);
  const int count = Base64Decode(data.data(), static_cast<int>(data.size()), bytes.data(), static_cast<int>(bytes.size()));
  if (count <= 0) return;
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(bytes.data(), count);
  stream->SetPosition(0);
  ATarget->LoadFromStream(stream.get());
}

String TdxSVGParserImage::ImageToString(TdxSmartImage* ASource) {
  TdxSmartImageCodecClass codec = ASource->ImageCodec();
  if (!codec || codec->MimeType().empty() || codec->InheritsFrom(TdxGPImageCodecBMP::ClassInfo()))
    codec = dxCodec<TdxGPImageCodecPNG>();
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  ASource->SaveToStreamByCodec(stream.get(), codec);
  const auto* begin = static_cast<const std::uint8_t*>(stream->Memory());
  const TBytes bytes(begin, begin + stream->Size());
  return L"data:" + codec->MimeType() + L";base64," +
         (bytes.empty() ? String() : Base64Encode(bytes, 0, static_cast<int>(bytes.size())));
}

// ---------------------------------------------------------------------------
// Styles and fonts

void TdxSVGInlineStyles::Parse(TdxXMLNode* AStyle, std::wstring_view S) {
  while (!S.empty()) {
    const std::size_t end = std::min(S.find(L';'), S.size());
    const std::wstring_view part = S.substr(0, end);
    S.remove_prefix(std::min(end + 1, S.size()));
    const std::size_t colon = part.find(L':');
    if (colon == std::wstring_view::npos) continue;
    const std::wstring_view name = TrimView(part.substr(0, colon));
    AStyle->Attributes()->SetValueAsString(dxStringToXMLString(name), String(TrimView(part.substr(colon + 1))));
  }
}

namespace {

// One leading and one trailing quote removed, trimmed before and after.
String Unquote(std::wstring_view S) {
  S = TrimView(S);
  if (!S.empty() && (S.front() == L'"' || S.front() == L'\'')) S.remove_prefix(1);
  if (!S.empty() && (S.back() == L'"' || S.back() == L'\'')) S.remove_suffix(1);
  return String(TrimView(S));
}

}  // namespace

String TdxSVGFontFamilyString::Decode(const String& S) {
  String result;
  std::wstring_view rest(S);
  while (true) {
    const std::size_t comma = rest.find(L',');
    const String name = Unquote(rest.substr(0, comma));
    if (!name.empty()) result = Include(result, name);
    if (comma == std::wstring_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return result;
}

String TdxSVGFontFamilyString::Encode(const String& S) {
  return S.find(L' ') != String::npos ? L"\"" + S + L"\"" : S;
}

String TdxSVGFontFamilyString::Include(const String& S, const String& AName) {
  if (S.empty()) return AName;
  if (AName.empty()) return S;
  return S + L"," + AName;
}

bool TdxSVGFontStyleString::TryStringToFontStyle(const String& S, TFontStyle& AStyle) {
  static constexpr std::pair<std::wstring_view, TFontStyle> words[] = {
      {L"bold", fsBold}, {L"italic", fsItalic}, {L"underline", fsUnderline}, {L"line-through", fsStrikeOut}};
  for (const auto& [word, style] : words)
    if (S == word) {
      AStyle = style;
      return true;
    }
  return false;
}

bool TdxSVGFontStyleString::Parse(const String& S, String& AName, TFontStyles& AStyles, float& ASize) {
  AName.clear();
  AStyles = TFontStyles();
  ASize = 0;
  std::vector<std::wstring_view> tokens;
  const std::wstring_view text(S);
  std::size_t i = 0;
  while (i < text.size()) {
    const wchar_t c = text[i];
    if (c == L' ' || c == L',' || c == L'/') {
      ++i;
      continue;
    }
    std::size_t end = i;
    if (c == L'"') {
      end = text.find(L'"', i + 1);
      end = end == std::wstring_view::npos ? text.size() : end + 1;
    } else {
      while (end < text.size() && text[end] != L' ' && text[end] != L',' && text[end] != L'/') ++end;
    }
    tokens.push_back(text.substr(i, end - i));
    i = end;
  }
  for (const std::wstring_view token : tokens) {
    const String word = Unquote(token);
    TFontStyle style;
    TdxSVGValue size;
    if (TryStringToFontStyle(word, style))
      AStyles.Include(style);
    else if (TdxSVGParserValue::Parse(word, size)) {
      if (ASize == 0) ASize = size.ToPixels(96, 8);
    } else
      AName = TdxSVGFontFamilyString::Include(AName, word);
  }
  return !AName.empty() && ASize > 0;
}

String TdxSVGFontStyleString::Build(const String& AName, TFontStyles AStyles, float ASize) {
  String result;
  if (AStyles.Contains(fsItalic)) result += L"italic ";
  if (AStyles.Contains(fsBold)) result += L"bold ";
  return result + dxSVGFloatToString(ASize) + L"px " + TdxSVGFontFamilyString::Encode(AName);
}

// ---------------------------------------------------------------------------
// Attribute values

bool TdxSVGAttributeConverter::TryStringToColor(const String& S, TdxAlphaColor& AColor) {
  if (const std::size_t at = S.find(L"rgb("); at != String::npos) {
    const TdxSVGValues values = TdxSVGParserNumbers::AsNumbers(std::wstring_view(S).substr(at + 4), 255);
    if (values.Count() != 3) return false;
    const auto channel = [&](int AIndex) { return static_cast<int>(std::clamp(std::round(values.Items(AIndex)), 0.0f, 255.0f)); };
    AColor = ComposeAlphaColor(255, channel(0), channel(1), channel(2));
    return true;
  }
  if (S == L"inherit") {
    AColor = TdxSVGFill::DefaultColor;
    return true;
  }
  if (!S.empty() && S[0] == L'#') {
    if ((S.size() != 4 && S.size() != 7) || !std::all_of(S.begin() + 1, S.end(), IsHexDigitChar)) return false;
  }
  AColor = TdxAlphaColors::CssTextToAlphaColor(S);
  return true;
}

TdxAlphaColor TdxSVGAttributeConverter::StringToColor(const String& S) {
  TdxAlphaColor result;
  if (TryStringToColor(S, result)) return result;
  if (!S.empty() && S[0] == L'#') throw EConvertError(L"'%s' ist kein gültiger Farbwert", {S});
  return TdxSVGFill::DefaultColor;
}

String TdxSVGAttributeConverter::ColorToString(TdxAlphaColor AColor) {
  if (AColor == 0) return L"none";
  if (AColor == TdxSVGFill::DefaultColor) return String();
  return TdxAlphaColors::AlphaColorToText(AColor, false);
}

String TdxSVGAttributeConverter::StringToReference(const String& S) {
  std::wstring_view text = TrimView(S);
  if (StartsTextAscii(L"url(", text) && text.back() == L')') text = text.substr(4, text.size() - 5);
  if (!text.empty() && text.front() == L'#') return String(text.substr(1));
  return String();
}

String TdxSVGAttributeConverter::ReferenceToString(const String& AID, bool ABare) {
  if (AID.empty()) return String();
  return ABare ? L"#" + AID : L"url(#" + AID + L")";
}

// A reference may name a colour after its ")" to paint with when nothing has
// its id; without one, such a reference paints nothing.
bool TdxSVGAttributeConverter::TryStringToFill(const String& S, TdxSVGFill& AFill) {
  const std::wstring_view text = TrimView(S);
  if (StartsTextAscii(L"url(", text)) {
    const std::size_t close = text.find(L')');
    const String id = StringToReference(String(text.substr(0, close == std::wstring_view::npos ? text.size() : close + 1)));
    TdxAlphaColor fallback = 0;
    if (close != std::wstring_view::npos) {
      const String rest(TrimView(text.substr(close + 1)));
      if (!rest.empty() && !(TryStringToColor(rest, fallback) && fallback != TdxSVGFill::DefaultColor)) fallback = 0;
    }
    AFill = id.empty() ? TdxSVGFill::Default() : TdxSVGFill::Create(id, fallback);
    return true;
  }
  if (SameTextAscii(text, L"currentColor")) {
    AFill = TdxSVGFill::CurrentColor();
    return true;
  }
  TdxAlphaColor color;
  if (!TryStringToColor(String(text), color)) return false;
  AFill = TdxSVGFill::Create(color);
  return true;
}

TdxSVGContentUnits TdxSVGAttributeConverter::StringToContentUnits(const String& S) {
  const int index = KeywordIndex(ContentUnitsKeywords, S);
  return index < 0 ? cuObjectBoundingBox : static_cast<TdxSVGContentUnits>(index);
}

TdxSVGFillMode TdxSVGAttributeConverter::StringToFillMode(const String& S) {
  const int index = KeywordIndex(FillModeKeywords, S);
  return index < 0 ? fmInherit : static_cast<TdxSVGFillMode>(index);
}

TdxSVGLineCapStyle TdxSVGAttributeConverter::StringToLineCapStyle(const String& S) {
  const int index = KeywordIndex(LineCapKeywords, S);
  return index < 0 ? lcsDefault : static_cast<TdxSVGLineCapStyle>(index);
}

TdxGpLineJoin TdxSVGAttributeConverter::StringToLineJoin(const String& S) {
  static constexpr TdxGpLineJoin joins[] = {LineJoinMiter, LineJoinBevel, LineJoinRound, LineJoinMiterClipped};
  const int index = KeywordIndex(LineJoinKeywords, S);
  return index < 0 ? LineJoinMiter : joins[index];
}

TdxSVGTextAnchor TdxSVGAttributeConverter::StringToTextAnchor(const String& S) {
  const int index = KeywordIndex(TextAnchorKeywords, S);
  return index < 0 ? taInherit : static_cast<TdxSVGTextAnchor>(index);
}

String TdxSVGAttributeConverter::ContentUnitsToString(TdxSVGContentUnits AValue) {
  return String(ContentUnitsKeywords[AValue]);
}
String TdxSVGAttributeConverter::FillModeToString(TdxSVGFillMode AValue) { return String(FillModeKeywords[AValue]); }
String TdxSVGAttributeConverter::LineCapStyleToString(TdxSVGLineCapStyle AValue) {
  return String(LineCapKeywords[AValue]);
}
String TdxSVGAttributeConverter::LineJoinToString(TdxGpLineJoin AValue) {
  switch (AValue) {
    case LineJoinBevel: return String(LineJoinKeywords[1]);
    case LineJoinRound: return String(LineJoinKeywords[2]);
    case LineJoinMiterClipped: return String(LineJoinKeywords[3]);
    default: return String(LineJoinKeywords[0]);
  }
}
String TdxSVGAttributeConverter::TextAnchorToString(TdxSVGTextAnchor AValue) {
  return String(TextAnchorKeywords[AValue]);
}

// ---------------------------------------------------------------------------
// Attribute readers

bool TdxSVGAttributeConverter::ReadString(TdxXMLNode* ANode, const TdxXMLString& AName, String& AValue) {
  TdxXMLNodeAttribute* attribute;
  if (!ANode->Attributes()->Find(AName, attribute)) return false;
  AValue = attribute->ValueAsString();
  return true;
}

bool TdxSVGAttributeConverter::ReadFloat(TdxXMLNode* ANode, const TdxXMLString& AName, float& AValue) {
  String text;
  return ReadString(ANode, AName, text) && TryParseNumber(text, AValue);
}

bool TdxSVGAttributeConverter::ReadValue(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGValue& AValue) {
  String text;
  return ReadString(ANode, AName, text) && TdxSVGParserValue::Parse(text, AValue);
}

bool TdxSVGAttributeConverter::ReadColor(TdxXMLNode* ANode, const TdxXMLString& AName, TdxAlphaColor& AValue) {
  String text;
  return ReadString(ANode, AName, text) && TryStringToColor(String(TrimView(text)), AValue);
}

bool TdxSVGAttributeConverter::ReadFill(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGFill& AValue) {
  String text;
  return ReadString(ANode, AName, text) && TryStringToFill(text, AValue);
}

bool TdxSVGAttributeConverter::ReadValues(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGValues& AValue) {
  String text;
  if (!ReadString(ANode, AName, text)) return false;
  AValue = TdxSVGParserNumbers::AsNumbers(text);
  return true;
}

bool TdxSVGAttributeConverter::ReadMatrix(TdxXMLNode* ANode, const TdxXMLString& AName, TdxMatrix* AValue) {
  String text;
  if (!ReadString(ANode, AName, text)) return false;
  TdxSVGParserTransform::Parse(text, AValue);
  return true;
}

bool TdxSVGAttributeConverter::ReadRect(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGRect& AValue) {
  String text;
  if (!ReadString(ANode, AName, text)) return false;
  AValue.SetValue(TdxSVGParserRect::Parse(text));
  return true;
}

bool TdxSVGAttributeConverter::ReadReference(TdxXMLNode* ANode, const TdxXMLString& AName, String& AValue) {
  String text;
  if (!ReadString(ANode, AName, text)) return false;
  AValue = StringToReference(text);
  return true;
}

// ---------------------------------------------------------------------------
// Attribute writers

namespace {

void WriteText(TdxXMLNode* ANode, const TdxXMLString& AName, const String& AText) {
  ANode->Attributes()->Add(AName, AText);
}

}  // namespace

void TdxSVGAttributeConverter::WriteColor(TdxXMLNode* ANode, const TdxXMLString& AName, TdxAlphaColor AValue) {
  if (AValue != TdxSVGFill::DefaultColor) WriteText(ANode, AName, ColorToString(AValue));
}

void TdxSVGAttributeConverter::WriteFill(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGFill& AValue) {
  if (AValue.IsDefault()) return;
  if (AValue.IsCurrentColor()) return WriteText(ANode, AName, L"currentColor");
  if (!AValue.IsReference()) return WriteText(ANode, AName, ColorToString(AValue.AsColor()));
  if (AValue.IsEmpty()) return WriteText(ANode, AName, L"none");
  String text = ReferenceToString(AValue.AsReference());
  if (AValue.Fallback() != 0) text += L" " + ColorToString(AValue.Fallback());
  WriteText(ANode, AName, text);
}

void TdxSVGAttributeConverter::WriteFloat(TdxXMLNode* ANode, const TdxXMLString& AName, float AValue,
                                          float ADefault) {
  if (AValue != ADefault) WriteText(ANode, AName, dxSVGFloatToString(AValue));
}

void TdxSVGAttributeConverter::WriteString(TdxXMLNode* ANode, const TdxXMLString& AName, const String& AValue) {
  if (!AValue.empty()) WriteText(ANode, AName, AValue);
}

void TdxSVGAttributeConverter::WriteValue(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGValue& AValue) {
  WriteText(ANode, AName, dxSVGFloatToString(AValue.Data) + String(UnitKeywords[AValue.UnitsType]));
}

void TdxSVGAttributeConverter::WriteValues(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGValues& AValue) {
  String text;
  for (int i = 0; i < AValue.Count(); ++i) {
    if (i > 0) text += L',';
    text += dxSVGFloatToString(AValue.Items(i));
  }
  WriteText(ANode, AName, text);
}

void TdxSVGAttributeConverter::WriteMatrix(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxMatrix* AValue) {
  if (AValue->IsIdentity()) return;
  const XFORM& m = AValue->XForm();
  WriteText(ANode, AName,
            L"matrix(" + dxSVGFloatToString(m.eM11) + L" " + dxSVGFloatToString(m.eM12) + L" " +
                dxSVGFloatToString(m.eM21) + L" " + dxSVGFloatToString(m.eM22) + L" " + dxSVGFloatToString(m.eDx) +
                L" " + dxSVGFloatToString(m.eDy) + L")");
}

void TdxSVGAttributeConverter::WriteRect(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGRect& AValue,
                                         const String& APrefix) {
  if (AValue.IsEmpty()) return;
  const TdxRectF& r = AValue.Value();
  WriteText(ANode, AName,
            APrefix + dxSVGFloatToString(r.Left) + L" " + dxSVGFloatToString(r.Top) + L" " +
                dxSVGFloatToString(AValue.Width()) + L" " + dxSVGFloatToString(AValue.Height()));
}

// ---------------------------------------------------------------------------
// TdxSVGAspectRatio

namespace {

constexpr std::wstring_view AlignKeywords[] = {L"min", L"mid", L"max"};

}  // namespace

bool TdxSVGAspectRatio::TryParse(const String& S, TdxSVGAspectRatio& AValue) {
  std::vector<std::wstring_view> words;
  std::wstring_view text = TrimView(S);
  while (!text.empty()) {
    std::size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    words.push_back(text.substr(0, end));
    text = TrimView(text.substr(end));
  }
  if (!words.empty() && words.front() == L"defer") words.erase(words.begin());
  if (words.empty() || words.size() > 2) return false;
  TdxSVGAspectRatio result;
  if (words.size() == 2) {
    if (words[1] != L"meet" && words[1] != L"slice") return false;
    result.Slice = words[1] == L"slice";
  }
  const std::wstring_view align = words[0];
  if (align == L"none") {
    result.AlignX = result.AlignY = aNone;
  } else {
    if (align.size() != 8 || align[0] != L'x' || align[4] != L'Y') return false;
    const auto find = [](std::wstring_view AWord, TAlign& AAlign) {
      for (int i = 0; i < 3; ++i)
        if (IsSameText(AWord, AlignKeywords[i])) {
          AAlign = static_cast<TAlign>(i + 1);
          return AWord[0] == L'M';
        }
      return false;
    };
    if (!find(align.substr(1, 3), result.AlignX) || !find(align.substr(5, 3), result.AlignY)) return false;
  }
  AValue = result;
  return true;
}

String TdxSVGAspectRatio::ToString() const {
  if (AlignX == aNone) return L"none";
  const auto word = [](TAlign AAlign) {
    String result(AlignKeywords[AAlign - 1]);
    result[0] = L'M';
    return result;
  };
  return L"x" + word(AlignX) + L"Y" + word(AlignY) + (Slice ? L" slice" : L"");
}

XFORM TdxSVGAspectRatio::Fit(const TdxRectF& ABox, const TdxRectF& ATarget) const {
  float sx = ATarget.Width() / ABox.Width();
  float sy = ATarget.Height() / ABox.Height();
  float dx = ATarget.Left;
  float dy = ATarget.Top;
  if (AlignX != aNone) {
    sx = sy = Slice ? std::max(sx, sy) : std::min(sx, sy);
    const auto offset = [](TAlign AAlign, float ASpare) { return AAlign == aMin ? 0 : AAlign == aMid ? ASpare / 2 : ASpare; };
    dx += offset(AlignX, ATarget.Width() - ABox.Width() * sx);
    dy += offset(AlignY, ATarget.Height() - ABox.Height() * sy);
  }
  return MakeXForm(sx, 0, 0, sy, dx - ABox.Left * sx, dy - ABox.Top * sy);
}

// ---------------------------------------------------------------------------
// The unit's operator table

void svgcore_detail::RegisterTransformOperators() {
  GTransformOperators = std::make_unique<std::unordered_map<String, TdxSVGTransformOperator>>();
  *GTransformOperators = {
      {L"matrix", &MatrixOperator}, {L"rotate", &RotateOperator}, {L"scale", &ScaleOperator},
      {L"skewX", &SkewXOperator},   {L"skewY", &SkewYOperator},   {L"translate", &TranslateOperator},
  };
}

void svgcore_detail::UnregisterTransformOperators() { GTransformOperators.reset(); }
