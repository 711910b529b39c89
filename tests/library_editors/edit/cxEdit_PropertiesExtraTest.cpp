// The properties' alignment, image list and error icon on real editor
// windows: which writes reach the editors, what a form stores of them, an
// image list freed under them, and the error icon as the editor draws it.
#include "library/editors/edit/cxEdit.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/Forms.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A value source whose content is right-aligned unless the properties say otherwise.
class TRightAlignedProvider : public TcxCustomEditDefaultValuesProvider {
  SK_CLASS(TRightAlignedProvider, TcxCustomEditDefaultValuesProvider)
 public:
  TAlignment DefaultAlignment() override { return taRightJustify; }
};

class TRightAlignedBinding : public TcxEditDataBinding {
  SK_CLASS(TRightAlignedBinding, TcxEditDataBinding)
 public:
  TClass GetDefaultValuesProviderClass() override { return TRightAlignedProvider::ClassInfo(); }
};

class TExtraProperties : public TcxCustomEditProperties {
  SK_CLASS(TExtraProperties, TcxCustomEditProperties)
 public:
  static void Publish(TPublisher<TExtraProperties>& P) {
    using T = TExtraProperties;
    P.Property(L"Alignment", &T::PublishedAlignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
    P.Property(L"ErrorIcon", &T::ErrorIcon, &T::SetErrorIcon).Stored(&T::IsErrorIconStored);
    P.Property(L"Images", &T::Images, &T::SetImages);
  }
  TcxEditAlignment* PublishedAlignment() const { return const_cast<TExtraProperties*>(this)->Alignment(); }
  bool Validates = false;
  bool ValidatesDisplayValue() override { return Validates; }
};

class TExtraEdit : public TcxCustomEdit {
  SK_CLASS(TExtraEdit, TcxCustomEdit)
 public:
  static void Publish(TPublisher<TExtraEdit>& P) {
    P.Property(L"Properties", &TExtraEdit::PublishedProperties, &TExtraEdit::SetPublishedProperties);
  }
  TExtraProperties* PublishedProperties() const { return static_cast<TExtraProperties*>(InternalProperties()); }
  void SetPublishedProperties(TExtraProperties* AValue) { InternalProperties()->Assign(AValue); }
  TExtraProperties* Properties() { return static_cast<TExtraProperties*>(InternalProperties()); }
  TClass GetPropertiesClass() override { return TExtraProperties::ClassInfo(); }

  int Refreshes = 0;
  // The alignment the last layout was given.
  TAlignment LaidOutHorz = taCenter;
  TcxEditVertAlignment LaidOutVert = taVCenter;

 protected:
  void PropertiesChanged(TObject* Sender) override {
    ++Refreshes;
    inherited::PropertiesChanged(Sender);
    const TOwned<TcxCustomEditViewData> data = CreateEditViewData();
    LaidOutHorz = data->HorzAlignment;
    LaidOutVert = data->VertAlignment;
  }
};

class TRightAlignedEdit : public TExtraEdit {
  SK_CLASS(TRightAlignedEdit, TExtraEdit)
 public:
  TClass GetDataBindingClass() override { return TRightAlignedBinding::ClassInfo(); }
};

class TRejecter : public TObject {
  SK_CLASS(TRejecter, TObject)
 public:
  void Validate(TObject*, Variant&, String&, bool& AError) { AError = true; }
};

// A 16 x 16 picture of four opaque quarters in colours no painter uses, with
// a fully transparent diagonal, as straight (not premultiplied) BGRA.
constexpr int IconSize = 16;
const COLORREF Quarters[4] = {RGB(250, 10, 20), RGB(10, 240, 30), RGB(20, 30, 230), RGB(230, 220, 10)};

TRGBColors IconBits() {
  TRGBColors bits(IconSize * IconSize);
  for (int y = 0; y < IconSize; ++y)
    for (int x = 0; x < IconSize; ++x) {
      RGBQUAD& q = bits[y * IconSize + x];
      if (x == y) {
        q = RGBQUAD{0, 0, 0, 0};
        continue;
      }
      const COLORREF c = Quarters[(y >= IconSize / 2) * 2 + (x >= IconSize / 2)];
      q = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 255};
    }
  return bits;
}

TOwned<TdxSmartImage> NewIcon() {
  TOwned<TdxSmartImage> icon(New<TdxSmartImage>());
  icon->LoadFromBits(IconSize, IconSize, IconBits(), true);
  return icon;
}

TOwned<TBitmap> NewCellBitmap(COLORREF AColor) {
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetSize(16, 16);
  bitmap->Canvas()->Brush()->SetColor(static_cast<TColor>(AColor));
  bitmap->Canvas()->FillRect(TRect(0, 0, 16, 16));
  return bitmap;
}

TForm* NewShownForm() {
  TForm* form = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  form->SetBoundsRect(TRect(200, 150, 500, 350));
  form->Show();
  return form;
}

struct PropertiesExtraFixture : testing::Test {
  TOwned<TForm> Form{NewShownForm()};

  template <class E = TExtraEdit>
  E* NewEdit(TComponent* AOwner = nullptr) {
    auto* edit = New<E>(AOwner ? AOwner : Form.get());
    edit->SetAutoSize(false);
    edit->SetParent(Form.get());
    edit->SetBounds(10, 10, 120, 22);
    return edit;
  }
};

// ---------------------------------------------------------------------------
// Which writes reach the editor

struct TChangeRow {
  const char* Name;
  // Run before counting starts.
  std::function<void(TExtraProperties*)> Prepare;
  std::function<void(TExtraProperties*)> Act;
  int Refreshes;
  TAlignment Horz;
  TcxEditVertAlignment Vert;
};

TEST_F(PropertiesExtraFixture, AlignmentImagesAndIconWritesReachTheEditorOnlyWhenTheyChangeSomething) {
  TOwned<TCustomImageList> images(New<TCustomImageList>(static_cast<TComponent*>(nullptr)));
  TOwned<TCustomImageList> other(New<TCustomImageList>(static_cast<TComponent*>(nullptr)));
  TOwned<TdxSmartImage> icon(NewIcon());
  TOwned<TdxSmartImage> empty(New<TdxSmartImage>());
  TOwned<TcxEditAlignment> rightCentered(New<TcxEditAlignment>(static_cast<TPersistent*>(nullptr)));
  rightCentered->SetHorz(taRightJustify);
  rightCentered->SetVert(taVCenter);
  const auto none = [](TExtraProperties*) {};
  const std::vector<TChangeRow> rows = {
      {"Horz written", none, [](TExtraProperties* p) { p->Alignment()->SetHorz(taCenter); }, 1, taCenter,
       taTopJustify},
      {"Horz written twice with one value", none,
       [](TExtraProperties* p) {
         p->Alignment()->SetHorz(taCenter);
         p->Alignment()->SetHorz(taCenter);
       },
       1, taCenter, taTopJustify},
      {"Vert written", none, [](TExtraProperties* p) { p->Alignment()->SetVert(taBottomJustify); }, 1,
       taLeftJustify, taBottomJustify},
      {"Vert given its default", none, [](TExtraProperties* p) { p->Alignment()->SetVert(taTopJustify); }, 0,
       taLeftJustify, taTopJustify},
      {"alignment assigned whole", none, [&](TExtraProperties* p) { p->SetAlignment(rightCentered.get()); }, 1,
       taRightJustify, taVCenter},
      {"Horz and Vert inside one bracket", none,
       [](TExtraProperties* p) {
         p->UpdateBracket([p] {
           p->Alignment()->SetHorz(taRightJustify);
           p->Alignment()->SetVert(taVCenter);
         });
       },
       1, taRightJustify, taVCenter},
      {"Horz written while locked", none,
       [](TExtraProperties* p) {
         p->LockUpdate(true);
         p->Alignment()->SetHorz(taRightJustify);
         p->LockUpdate(false);
       },
       0, taRightJustify, taTopJustify},
      {"error icon written", none, [&](TExtraProperties* p) { p->SetErrorIcon(icon.get()); }, 1, taLeftJustify,
       taTopJustify},
      {"error icon given the picture it holds", [&](TExtraProperties* p) { p->SetErrorIcon(icon.get()); },
       [&](TExtraProperties* p) { p->SetErrorIcon(icon.get()); }, 0, taLeftJustify, taTopJustify},
      {"error icon cleared", [&](TExtraProperties* p) { p->SetErrorIcon(icon.get()); },
       [](TExtraProperties* p) { p->SetErrorIcon(nullptr); }, 1, taLeftJustify, taTopJustify},
      {"empty error icon given an empty picture", none, [&](TExtraProperties* p) { p->SetErrorIcon(empty.get()); },
       0, taLeftJustify, taTopJustify},
      {"error icon loaded in place", none,
       [](TExtraProperties* p) { p->ErrorIcon()->LoadFromBits(IconSize, IconSize, IconBits(), true); }, 1,
       taLeftJustify, taTopJustify},
      {"image list set", none, [&](TExtraProperties* p) { p->SetImages(images.get()); }, 1, taLeftJustify,
       taTopJustify},
      {"image list set again", [&](TExtraProperties* p) { p->SetImages(images.get()); },
       [&](TExtraProperties* p) { p->SetImages(images.get()); }, 0, taLeftJustify, taTopJustify},
      {"image list replaced", [&](TExtraProperties* p) { p->SetImages(images.get()); },
       [&](TExtraProperties* p) { p->SetImages(other.get()); }, 1, taLeftJustify, taTopJustify},
      {"image list removed", [&](TExtraProperties* p) { p->SetImages(images.get()); },
       [](TExtraProperties* p) { p->SetImages(nullptr); }, 1, taLeftJustify, taTopJustify},
      {"image added to the list", [&](TExtraProperties* p) { p->SetImages(images.get()); },
       [&](TExtraProperties*) { images->AddMasked(NewCellBitmap(RGB(1, 2, 3)).get(), clNone); }, 1, taLeftJustify,
       taTopJustify},
      {"image added to a list no longer used",
       [&](TExtraProperties* p) {
         p->SetImages(other.get());
         p->SetImages(images.get());
       },
       [&](TExtraProperties*) { other->AddMasked(NewCellBitmap(RGB(1, 2, 3)).get(), clNone); }, 0, taLeftJustify,
       taTopJustify},
  };
  for (const TChangeRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TExtraEdit* edit = NewEdit();
    row.Prepare(edit->Properties());
    edit->Refreshes = 0;
    row.Act(edit->Properties());
    EXPECT_EQ(edit->Refreshes, row.Refreshes);
    EXPECT_EQ(edit->Properties()->Alignment()->Horz(), row.Horz);
    EXPECT_EQ(edit->Properties()->Alignment()->Vert(), row.Vert);
    if (row.Refreshes > 0) {
      EXPECT_EQ(edit->LaidOutHorz, row.Horz) << "the layout reads the alignment in force";
      EXPECT_EQ(edit->LaidOutVert, row.Vert);
    } else {
      EXPECT_EQ(edit->LaidOutHorz, taLeftJustify) << "the editor was not told";
    }
    EXPECT_EQ(edit->Properties()->Buttons()->Images(), edit->Properties()->Images()) << "the buttons' list";
    edit->Free();
  }
}

// A settings change lays the editor out for the pointer where it is: over
// the editor it stays hot, beside it (even over the form) it is not.
TEST_F(PropertiesExtraFixture, ChangeKeepsTheHotStateWhereThePointerIs) {
  SetForegroundWindow(Form->Handle());
  ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == Form->Handle(); }));
  TExtraEdit* edit = NewEdit();
  edit->Style()->SetHotTrack(true);
  const auto hot = [edit] { return edit->ViewInfo()->ContainerState.Contains(csHotTrack); };
  struct TRow {
    const char* Name;
    TPoint Client;  // in the editor's client coordinates
    bool Hot;
  };
  const TRow rows[] = {
      {"over the editor", TPoint(60, 11), true},
      {"just right of it", TPoint(125, 11), false},
      {"just below it", TPoint(60, 26), false},
  };
  bool beep = false;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    ASSERT_TRUE(MoveUntil(edit->ClientToScreen(row.Client), [&] { return hot() == row.Hot; }));
    beep = !beep;
    edit->Properties()->SetBeepOnError(beep);
    EXPECT_EQ(hot(), row.Hot);
  }
  SendMouseMove(edit->ClientToScreen(TPoint(60, 120)));
}

// ---------------------------------------------------------------------------
// The default horizontal alignment

TEST_F(PropertiesExtraFixture, HorizontalAlignmentFollowsTheProviderUntilAssigned) {
  struct TRow {
    const char* Name;
    bool RightProvider;
    std::function<void(TExtraProperties*)> Act;
    TAlignment Horz;
    bool HorzStored;
  };
  const std::vector<TRow> rows = {
      {"left provider, nothing assigned", false, [](TExtraProperties*) {}, taLeftJustify, false},
      {"right provider, nothing assigned", true, [](TExtraProperties*) {}, taRightJustify, false},
      {"right provider, left assigned", true, [](TExtraProperties* p) { p->Alignment()->SetHorz(taLeftJustify); },
       taLeftJustify, true},
      {"right provider, left assigned then defaults restored", true,
       [](TExtraProperties* p) {
         p->Alignment()->SetHorz(taLeftJustify);
         p->RestoreDefaults();
       },
       taRightJustify, false},
      {"right provider, centre assigned then defaults restored", true,
       [](TExtraProperties* p) {
         p->Alignment()->SetHorz(taCenter);
         p->RestoreDefaults();
       },
       taCenter, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TExtraEdit* edit = row.RightProvider ? NewEdit<TRightAlignedEdit>() : NewEdit();
    row.Act(edit->Properties());
    EXPECT_EQ(edit->Properties()->Alignment()->Horz(), row.Horz);
    EXPECT_EQ(edit->LaidOutHorz, row.Horz) << "the editor was told";
    EXPECT_EQ(edit->Properties()->IsAlignmentStored(), row.HorzStored);
    edit->Free();
  }
  // Properties no editor reads keep what their public object holds.
  TOwned<TExtraProperties> alone(New<TExtraProperties>(static_cast<TPersistent*>(nullptr)));
  EXPECT_EQ(alone->DefaultHorzAlignment(), taLeftJustify);
}

// Counts its notifications into a counter that may outlive it.
class TCountingProperties : public TExtraProperties {
  SK_CLASS(TCountingProperties, TExtraProperties)
 public:
  int* Count = nullptr;
  void NotifyPropertiesChanged() override {
    if (Count) ++*Count;
    inherited::NotifyPropertiesChanged();
  }
};

TEST_F(PropertiesExtraFixture, AssignCopiesAlignmentImagesAndIconWithOneChange) {
  TOwned<TCustomImageList> images(New<TCustomImageList>(static_cast<TComponent*>(nullptr)));
  TOwned<TdxSmartImage> icon(NewIcon());
  TOwned<TExtraProperties> source(New<TExtraProperties>(static_cast<TPersistent*>(nullptr)));
  source->Alignment()->SetHorz(taCenter);
  source->Alignment()->SetVert(taBottomJustify);
  source->SetImages(images.get());
  source->SetErrorIcon(icon.get());
  int count = 0;
  TOwned<TCountingProperties> target(New<TCountingProperties>(static_cast<TPersistent*>(nullptr)));
  target->Count = &count;
  target->Assign(source.get());
  EXPECT_EQ(count, 1);
  EXPECT_EQ(target->Alignment()->Horz(), taCenter);
  EXPECT_EQ(target->Alignment()->Vert(), taBottomJustify);
  EXPECT_EQ(target->Images(), images.get());
  EXPECT_EQ(target->Buttons()->Images(), images.get());
  EXPECT_TRUE(CompareGraphics(target->ErrorIcon(), icon.get()));
  EXPECT_NE(target->ErrorIcon(), source->ErrorIcon()) << "a copy, not the source's picture";
  count = 0;
  source->Alignment()->SetHorz(taRightJustify);
  source->SetErrorIcon(nullptr);
  target->Assign(source.get());
  EXPECT_EQ(count, 1);
  EXPECT_EQ(target->Alignment()->Horz(), taRightJustify);
  EXPECT_TRUE(target->ErrorIcon()->Empty()) << "an empty icon is copied too";
}

// ---------------------------------------------------------------------------
// Forms

std::vector<std::wstring> LinesWith(const String& AText, const wchar_t* AWord) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < AText.size()) {
    std::size_t end = AText.find(L"\r\n", start);
    if (end == String::npos) end = AText.size();
    std::wstring line(AText, start, end - start);
    if (line.find(AWord) != std::wstring::npos) lines.push_back(line.substr(line.find_first_not_of(L' ')));
    start = end + 2;
  }
  return lines;
}

TEST_F(PropertiesExtraFixture, FormStoresExactlyTheAssignedAlignmentAndReadsItBack) {
  RegisterClasses({TRightAlignedEdit::ClassInfo()});
  struct TRow {
    const char* Name;
    std::function<void(TExtraProperties*)> Act;
    std::vector<std::wstring> Lines;
    TAlignment Horz;  // read back, with the right-aligned provider
    TcxEditVertAlignment Vert;
  };
  const std::vector<TRow> rows = {
      {"nothing assigned", [](TExtraProperties*) {}, {}, taRightJustify, taTopJustify},
      {"Vert only: the provider's Horz is not written",
       [](TExtraProperties* p) { p->Alignment()->SetVert(taVCenter); },
       {L"Properties.Alignment.Vert = taVCenter"}, taRightJustify, taVCenter},
      {"Horz given the provider's value",
       [](TExtraProperties* p) { p->Alignment()->SetHorz(taRightJustify); },
       {L"Properties.Alignment.Horz = taRightJustify"}, taRightJustify, taTopJustify},
      {"Horz left over a right provider", [](TExtraProperties* p) { p->Alignment()->SetHorz(taLeftJustify); },
       {L"Properties.Alignment.Horz = taLeftJustify"}, taLeftJustify, taTopJustify},
      {"both", [](TExtraProperties* p) {
         p->Alignment()->SetHorz(taCenter);
         p->Alignment()->SetVert(taBottomJustify);
       },
       {L"Properties.Alignment.Horz = taCenter", L"Properties.Alignment.Vert = taBottomJustify"}, taCenter,
       taBottomJustify},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TOwned<TForm> source(NewShownForm());
    source->SetName(L"Source");
    auto* edit = New<TRightAlignedEdit>(source.get());
    edit->SetParent(source.get());
    edit->SetName(L"Edit1");
    row.Act(edit->Properties());
    const String text = WriteComponentToText(source.get());
    EXPECT_EQ(LinesWith(text, L"Alignment"), row.Lines) << std::wstring(text);
    EXPECT_EQ(edit->Properties()->Alignment()->OnChanged(), TNotifyEvent(
        BindEvent<&TcxCustomEditProperties::AlignmentChanged>(static_cast<TcxCustomEditProperties*>(edit->Properties()))))
        << "writing leaves the alignment connected";

    const TOwned<TForm> target(NewShownForm());
    ReadComponentFromText(text, target.get());
    auto* read = static_cast<TRightAlignedEdit*>(target->FindComponent(L"Edit1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Properties()->Alignment()->Horz(), row.Horz);
    EXPECT_EQ(read->Properties()->Alignment()->Vert(), row.Vert);
    EXPECT_EQ(read->LaidOutHorz, row.Horz);
  }
}

TEST_F(PropertiesExtraFixture, FormStoresTheIconAndTheImageListByName) {
  RegisterClasses({TExtraEdit::ClassInfo(), TImageList::ClassInfo()});
  const TOwned<TForm> source(NewShownForm());
  source->SetName(L"Source");
  auto* images = New<TImageList>(source.get());
  images->SetName(L"Images1");
  auto* edit = New<TExtraEdit>(source.get());
  edit->SetParent(source.get());
  edit->SetName(L"Edit1");
  TOwned<TdxSmartImage> icon(NewIcon());
  edit->Properties()->SetErrorIcon(icon.get());
  edit->Properties()->SetImages(images);
  const String text = WriteComponentToText(source.get());
  EXPECT_EQ(LinesWith(text, L"Properties.Images"), std::vector<std::wstring>{L"Properties.Images = Images1"})
      << std::wstring(text);
  EXPECT_EQ(LinesWith(text, L"Properties.ErrorIcon").size(), 1u) << std::wstring(text);

  // The form writes its controls only: the list stands in the form read into.
  const TOwned<TForm> target(NewShownForm());
  auto* targetImages = New<TImageList>(target.get());
  targetImages->SetName(L"Images1");
  ReadComponentFromText(text, target.get());
  auto* read = static_cast<TExtraEdit*>(target->FindComponent(L"Edit1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Properties()->Images(), targetImages);
  EXPECT_EQ(read->Properties()->Buttons()->Images(), read->Properties()->Images());
  EXPECT_TRUE(CompareGraphics(read->Properties()->ErrorIcon(), icon.get()));

  // Nothing assigned, nothing written.
  edit->Properties()->SetErrorIcon(nullptr);
  edit->Properties()->SetImages(nullptr);
  const String bare = WriteComponentToText(source.get());
  EXPECT_TRUE(LinesWith(bare, L"Properties.").empty()) << std::wstring(bare);
}

// ---------------------------------------------------------------------------
// An image list freed under the properties, and the other way round

TEST_F(PropertiesExtraFixture, ImageListFreedUnderThePropertiesIsDroppedWithOneChange) {
  auto* images = New<TImageList>(Form.get());
  TExtraEdit* edit = NewEdit();
  edit->Properties()->SetImages(images);
  edit->Refreshes = 0;
  images->Free();
  EXPECT_EQ(edit->Properties()->Images(), nullptr);
  EXPECT_EQ(edit->Properties()->Buttons()->Images(), nullptr);
  EXPECT_EQ(edit->Refreshes, 1);
  // Still sound: a new list is taken and followed.
  auto* next = New<TImageList>(Form.get());
  edit->Properties()->SetImages(next);
  edit->Refreshes = 0;
  next->AddMasked(NewCellBitmap(RGB(9, 8, 7)).get(), clNone);
  EXPECT_EQ(edit->Refreshes, 1);
}

TEST_F(PropertiesExtraFixture, PropertiesFreedBeforeTheirImageListAreNotReachedByIt) {
  auto* images = New<TImageList>(Form.get());
  int count = 0;
  TOwned<TCountingProperties> alone(New<TCountingProperties>(static_cast<TPersistent*>(nullptr)));
  alone->Count = &count;
  alone->SetImages(images);
  images->AddMasked(NewCellBitmap(RGB(9, 8, 7)).get(), clNone);
  ASSERT_EQ(count, 2) << "the list set, then its change";
  TExtraEdit* edit = NewEdit();
  edit->Properties()->SetImages(images);
  alone.reset();
  edit->Free();
  // A change link or free notification left behind would reach the freed
  // properties here.
  images->AddMasked(NewCellBitmap(RGB(9, 8, 7)).get(), clNone);
  images->Free();
  EXPECT_EQ(count, 2);
}

// ---------------------------------------------------------------------------
// The error icon as the editor draws it

TEST_F(PropertiesExtraFixture, ValidationMarkDrawsTheIconAsGdiPlusDrawsIt) {
  TExtraEdit* edit = NewEdit();
  TOwned<TRejecter> rejecter(New<TRejecter>());
  TExtraProperties* p = edit->Properties();
  p->Validates = true;
  p->SetOnValidate(BindEvent<&TRejecter::Validate>(rejecter.get()));
  p->SetValidationOptions({evoShowErrorIcon});
  edit->SetModifiedAfterEnter(true);
  ASSERT_FALSE(edit->ValidateEdit());
  ASSERT_TRUE(edit->ValidationError());
  TOwned<TdxSmartImage> icon(NewIcon());
  p->SetErrorIcon(icon.get());

  const int w = edit->Width(), h = edit->Height();
  TPixelSurface shown(w, h, RGB(1, 1, 1));
  UpdateWindow(edit->Handle());
  {
    const TWindowDC dc(edit->Handle());
    BitBlt(shown.DC(), 0, 0, w, h, dc.Get(), 0, 0, SRCCOPY);
  }
  // Found by its colours, not by the record's bounds.
  // The top left quarter's top left pixel is transparent, the bottom right's
  // bottom right one too: the icon spans from the first's left edge to the
  // second's right.
  const TRect first = shown.BoundsOf(Quarters[0]), last = shown.BoundsOf(Quarters[3]);
  const TRect found(first.Left, first.Top, last.Right, last.Bottom);
  ASSERT_EQ(found.Width(), IconSize) << shown.Picture(RGB(1, 1, 1));
  ASSERT_EQ(found.Height(), IconSize);
  EXPECT_LT(found.Left, w / 2) << "on the left side, the default";

  // The same bits drawn by GDI+ onto what lies beside the icon: what its
  // transparent pixels must let through.
  ASSERT_GT(found.Left, 0);
  TPixelSurface expected(IconSize, IconSize, shown.Pixel(found.Left - 1, found.Top));
  {
    TRGBColors bits = IconBits();
    GpBitmap* bitmap = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromScan0(IconSize, IconSize, IconSize * 4, PixelFormat32bppARGB,
                                        reinterpret_cast<BYTE*>(bits.data()), &bitmap),
              Gdiplus::Ok);
    GpGraphics* graphics = nullptr;
    ASSERT_EQ(GdipCreateFromHDC(expected.DC(), &graphics), Gdiplus::Ok);
    EXPECT_EQ(GdipDrawImageRectI(graphics, bitmap, 0, 0, IconSize, IconSize), Gdiplus::Ok);
    GdipDeleteGraphics(graphics);
    GdipDisposeImage(bitmap);
  }
  int differing = 0;
  for (int y = 0; y < IconSize; ++y)
    for (int x = 0; x < IconSize; ++x) differing += shown.Pixel(found.Left + x, found.Top + y) != expected.Pixel(x, y);
  EXPECT_EQ(differing, 0) << std::hex << "first pixel shown " << shown.Pixel(found.Left, found.Top) << ", drawn "
                         << expected.Pixel(0, 0);

  // The picture cleared while the error stays: the standard glyph is back.
  p->SetErrorIcon(nullptr);
  UpdateWindow(edit->Handle());
  {
    const TWindowDC dc(edit->Handle());
    BitBlt(shown.DC(), 0, 0, w, h, dc.Get(), 0, 0, SRCCOPY);
  }
  for (COLORREF c : Quarters) EXPECT_EQ(shown.Count(c), 0);
  EXPECT_TRUE(edit->ViewInfo()->ErrorData()->ErrorIcon()->Compare(cxEditStandardGlyph(eetError)));
}

}  // namespace
