// Fuzzing drivers of the vector layer: the XML reader over mutated documents
// of the W3C XML conformance suite (tools/setup unpacks it into build-data/),
// the entity coding and date-time reading over mutated texts, the shape
// reader over mutated shape mark-up, each result drawn, and the SVG import
// over mutated SVG files (SVGFuzz.cpp).
//
// Each input lies against an inaccessible page, at its end in even rounds and
// at its start in odd ones, so a read beyond either end of the buffer faults
// instead of passing unseen.
#include "fuzzers/library_vector/SVGFuzz.h"
#include "fuzzers/support/FuzzMain.h"
#include "fuzzers/support/GuardedBuffer.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/vector/VectorUnits.h"
#include "library/vector/dxShapePrimitives.h"
#include "library/vector/dxShapeReaders.h"
#include "library/vector/dxXMLDoc.h"
#include "platform/runtime/Units.h"
#include "platform/ui/UiUnits.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

class TFuzzXMLDocument : public TdxXMLDocument {
  SK_CLASS(TFuzzXMLDocument, TdxXMLDocument)
 public:
  using TdxXMLDocument::ParseBuffer;
};

std::vector<std::string> ConformanceSuiteSeeds() {
  return FileSeeds(SK_XMLCONF_DIR "/xmlconf", {L".xml"});
}

const TGuardedBuffer& Buffer() {
  // The largest seed of the suite is far below this; longer inputs are cut.
  static const TGuardedBuffer buffer(1 << 20);
  return buffer;
}

long long GRound = 0;

// Reads the input, writes the tree (indented) and reads that again.
void ReadXML(const std::string& AInput) {
  const std::string input = AInput.substr(0, Buffer().Capacity());
  TOwned<TFuzzXMLDocument> document(New<TFuzzXMLDocument>(nullptr));
  document->ParseBuffer(Buffer().Place(input, GRound++ % 2 == 0), input.size());
  document->SetAutoIndent(true);
  TOwned<TMemoryStream> written(New<TMemoryStream>());
  document->SaveToStream(written.get());
  written->SetPosition(0);
  TOwned<TFuzzXMLDocument> again(New<TFuzzXMLDocument>(nullptr));
  again->LoadFromStream(written.get());
}

std::vector<std::string> CodingSeeds() {
  const wchar_t* texts[] = {
      L"2021-03-04T05:06:07.5+01:30", L"2021-12-31T23:59:59.99999999999999Z", L"2021-03-04",
      L"&lt;&amp;#65;&#x1F600;&#65;_x0041__x005F_x0041_", L"a\tb\r\nc\x01\xFFFF<\"'>&_", L"&#;&#x;&#99999999999;",
  };
  std::vector<std::string> seeds;
  for (const wchar_t* text : texts)
    seeds.emplace_back(reinterpret_cast<const char*>(text), std::wcslen(text) * sizeof(wchar_t));
  return seeds;
}

// The input's bytes taken as UTF-16 code units: decoding undoes encoding, and
// date-times raise only their documented errors.
void CodeText(const std::string& AInput) {
  String text(AInput.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), AInput.data(), text.size() * sizeof(wchar_t));
  if (TdxXMLHelper::DecodeString(TdxXMLHelper::EncodeString(text)) != text) {
    std::fprintf(stderr, "xml_coding: decoding does not undo encoding\n");
    std::abort();
  }
  TdxXMLHelper::DecodeString(text);
  try {
    TdxXMLDateTime::Create(text).ToString();
  } catch (const EdxXMLUnexpectedToken&) {
  } catch (const EConvertError&) {
  }
}

std::vector<std::string> ShapeSeeds() {
  return {
      R"(<Canvas><Rectangle Canvas.Left="10" Canvas.Top="5" Width="20" Height="10" Fill="Red" Stroke="#80FF0000"
           StrokeThickness="2" RadiusX="4" RadiusY="3"/><Ellipse Width="9" Height="7" Fill="Transparent"/></Canvas>)",
      R"(<Viewbox><Canvas><Path Canvas.Left="5" Data="M 100,100 L 120,100 C 1,2 3,4 5,6 Z m 1,1 l 2,2 z"
           Fill="#F0F"/></Canvas></Viewbox>)",
      R"(<Rectangle Width="40" Height="20"><Rectangle.Fill><LinearGradientBrush StartPoint="0,0" EndPoint="1,0.5">
           <LinearGradientBrush.GradientStops><GradientStop Color="Red" Offset="0"/>
           <GradientStop Color="#400000FF" Offset="1"/></LinearGradientBrush.GradientStops></LinearGradientBrush>
           </Rectangle.Fill></Rectangle>)",
      R"(<Ellipse Width="30" Height="30" RenderTransformOrigin="0.5,0.5"><Ellipse.Fill><RadialGradientBrush
           Center="0.25,0.5" RadiusX="0.5" RadiusY="0.25"><GradientStop Color="Blue" Offset="0.5"/>
           </RadialGradientBrush></Ellipse.Fill><Ellipse.RenderTransform><TransformGroup>
           <ScaleTransform ScaleX="2"/><SkewTransform AngleX="30"/><RotateTransform Angle="45" CenterX="3"/>
           <TranslateTransform X="5" Y="-2"/></TransformGroup></Ellipse.RenderTransform></Ellipse>)",
  };
}

// Reads the input's first element as a shape and draws it; reading raises
// only its documented errors, drawing the GDI+ error of a degenerate brush.
void ReadShape(const std::string& AInput) {
  const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  document->LoadFromString(AInput);
  TdxXMLNode* element = document->Root()->First();
  if (!element) return;
  try {
    const TOwned<TdxShapeObject> shape = dxLoadShapeObject(element);
    auto* vectorShape = dynamic_cast<TdxCustomVectorShape*>(shape.get());
    if (!vectorShape) return;
    const TdxGpOwnedImage bitmap = CreateGdipBitmap(32, 32);
    GpGraphics* graphics = nullptr;
    CheckGdipStatus(GdipGetImageGraphicsContext(bitmap.Get(), &graphics));
    const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(graphics));
    vectorShape->Draw(canvas.get());
    vectorShape->SetWidth(vectorShape->Width() + 1);
    vectorShape->Draw(canvas.get());
  } catch (const EInvalidCast&) {
  } catch (const EConvertError&) {
  } catch (const EdxGdipException&) {
  }
}

const TFuzzDriver GDrivers[] = {
    {L"xml_read", &ConformanceSuiteSeeds, &ReadXML},
    {L"xml_coding", &CodingSeeds, &CodeText},
    {L"shape_read", &ShapeSeeds, &ReadShape},
    {L"svg_import", &SVGImportSeeds, &SVGImportInput},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits()});
  const int result = RunFuzzDrivers(argc, argv, GDrivers);
  FinalizeUnits();
  return result;
}
