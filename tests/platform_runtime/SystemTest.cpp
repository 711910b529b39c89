#include "platform/runtime/SysUtils.h"
#include "platform/runtime/System.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> GLog;

// --- Construction and destruction ------------------------------------------

class TShape : public TObject {
  SK_CLASS(TShape, TObject)
 public:
  struct TMeta : TObject::TMeta {
    virtual String Kind() const { return L"shape"; }
  };

  virtual void Create(int ASides) {
    GLog.push_back("TShape.Create");
    FSides = ASides;
    FDescription = Describe();  // must reach the most derived override
  }
  void AfterConstruction() override { GLog.push_back("AfterConstruction"); }
  void BeforeDestruction() override { GLog.push_back("BeforeDestruction"); }
  void Destroy() override {
    GLog.push_back("TShape.Destroy");
    inherited::Destroy();
  }
  virtual String Describe() const { return L"shape"; }
  int Sides() const { return FSides; }
  const String& Description() const { return FDescription; }

 private:
  int FSides;
  String FDescription;
};

class TSquare : public TShape {
  SK_CLASS(TSquare, TShape)
 public:
  struct TMeta : TShape::TMeta {
    String Kind() const override { return L"square"; }
  };

  void Create(int ASides) override {
    GLog.push_back("TSquare.Create");
    FColour = L"red";
    inherited::Create(ASides);
  }
  void Destroy() override {
    GLog.push_back("TSquare.Destroy");
    inherited::Destroy();
  }
  String Describe() const override { return L"square " + FColour; }

 private:
  String FColour;
};

class TFaulty : public TShape {
  SK_CLASS(TFaulty, TShape)
 public:
  void Create(int ASides) override {
    inherited::Create(ASides);
    throw EConvertError(L"no");
  }
  void Destroy() override {
    GLog.push_back("TFaulty.Destroy");
    inherited::Destroy();
  }
};

class TAbstractShape : public TShape {
  SK_CLASS(TAbstractShape, TShape)
 public:
  virtual int Area() const = 0;
};

TEST(ObjectModel, VirtualCallInsideCreateReachesMostDerived) {
  GLog.clear();
  TSquare* square = New<TSquare>(4);
  EXPECT_EQ(square->Description(), L"square red");
  EXPECT_EQ(GLog, (std::vector<std::string>{"TSquare.Create", "TShape.Create", "AfterConstruction"}));
  GLog.clear();
  FreeAndNil(square);
  EXPECT_EQ(square, nullptr);
  EXPECT_EQ(GLog, (std::vector<std::string>{"BeforeDestruction", "TSquare.Destroy", "TShape.Destroy"}));
}

TEST(ObjectModel, FailedCreateRunsDestroyAndRaises) {
  GLog.clear();
  EXPECT_THROW(New<TFaulty>(3), EConvertError);
  EXPECT_EQ(GLog, (std::vector<std::string>{"TShape.Create", "TFaulty.Destroy", "TShape.Destroy"}));
}

TEST(ObjectModel, NamedCreationStepsRunLikeCreate) {
  GLog.clear();
  TSquare* square = NewWith<TSquare>([](TSquare* s) { s->Create(5); });
  EXPECT_EQ(square->Sides(), 5);
  EXPECT_EQ(GLog, (std::vector<std::string>{"TSquare.Create", "TShape.Create", "AfterConstruction"}));
  square->Free();
  GLog.clear();
  EXPECT_THROW(NewWith<TFaulty>([](TFaulty* f) { f->Create(2); }), EConvertError);
  EXPECT_EQ(GLog, (std::vector<std::string>{"TShape.Create", "TFaulty.Destroy", "TShape.Destroy"}));
}

TEST(ObjectModel, ClassReferences) {
  TClass square = TSquare::ClassInfo();
  EXPECT_EQ(square->ClassName(), L"TSquare");
  EXPECT_EQ(square->ClassParent(), TShape::ClassInfo());
  EXPECT_TRUE(square->InheritsFrom(TObject::ClassInfo()));
  EXPECT_TRUE(square->InheritsFrom(square));
  EXPECT_FALSE(TShape::ClassInfo()->InheritsFrom(square));
  EXPECT_EQ(TObject::ClassInfo()->ClassParent(), nullptr);

  // Creation by class reference runs the most derived Create.
  TShape* shape = NewOfClass<TShape>(square, 4);
  EXPECT_EQ(shape->ClassName(), L"TSquare");
  EXPECT_EQ(shape->Description(), L"square red");
  EXPECT_TRUE(Is<TSquare>(shape));
  EXPECT_THROW(As<TFaulty>(shape), EInvalidCast);
  shape->Free();

  // Class-level virtual operations.
  EXPECT_EQ(ClassMeta<TShape>(square)->Kind(), L"square");
  EXPECT_EQ(ClassMeta<TShape>(TShape::ClassInfo())->Kind(), L"shape");
  EXPECT_THROW(ClassMeta<TShape>(TObject::ClassInfo()), EInvalidCast);
}

TEST(ObjectModel, AbstractClassHasNoInstances) {
  EXPECT_TRUE(TAbstractShape::ClassInfo()->IsAbstract());
  EXPECT_THROW(NewOfClass<TShape>(TAbstractShape::ClassInfo(), 1), EAbstractError);
}

// --- Events ----------------------------------------------------------------

class TListener : public TObject {
  SK_CLASS(TListener, TObject)
 public:
  void OnA(TObject* Sender) { Last = Sender; ++Calls; }
  void OnB(TObject*) {}
  TObject* Last = nullptr;
  int Calls = 0;
};

TEST(ObjectModel, EventsCompareByObjectAndMethod) {
  TListener* one = New<TListener>();
  TListener* two = New<TListener>();
  TNotifyEvent none;
  EXPECT_FALSE(none.Assigned());
  CallEvent(none, one);  // unassigned: nothing happens

  TNotifyEvent a1 = BindEvent<&TListener::OnA>(one);
  EXPECT_TRUE(a1.Assigned());
  EXPECT_EQ(a1, BindEvent<&TListener::OnA>(one));
  EXPECT_NE(a1, BindEvent<&TListener::OnB>(one));
  EXPECT_NE(a1, BindEvent<&TListener::OnA>(two));
  EXPECT_EQ(TNotifyEvent::FromMethod(a1.AsMethod()), a1);

  CallEvent(a1, two);
  EXPECT_EQ(one->Calls, 1);
  EXPECT_EQ(one->Last, two);
  one->Free();
  two->Free();
}

// --- Sets ------------------------------------------------------------------

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

TEST(ObjectModel, Sets) {
  TFontStyles s{fsBold, fsUnderline};
  EXPECT_TRUE(s.Contains(fsBold));
  EXPECT_FALSE(s.Contains(fsItalic));
  EXPECT_EQ(s.ToBits(), 0b101u);
  EXPECT_EQ(TFontStyles::FromBits(0b101), s);
  EXPECT_EQ(s - TFontStyles{fsBold}, TFontStyles{fsUnderline});
  EXPECT_EQ((s * TFontStyles{fsBold, fsItalic}), TFontStyles{fsBold});
  EXPECT_TRUE(TFontStyles{fsBold} <= s);
  EXPECT_FALSE(s <= TFontStyles{fsBold});
  EXPECT_TRUE(TFontStyles().Empty());
}

// --- Interfaces --------------------------------------------------------------

struct IGreeter : virtual IInterface {
  static constexpr GUID IID = {0x1f0b2c6e, 0x5a8d, 0x4c1e, {0x9b, 0x42, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66}};
  virtual String Greet() = 0;
};

struct IUnused : virtual IInterface {
  static constexpr GUID IID = {0x2f0b2c6e, 0x5a8d, 0x4c1e, {0x9b, 0x42, 0x11, 0x22, 0x33, 0x44, 0x55, 0x67}};
};

class TCountedGreeter : public TInterfacedObject, public IGreeter {
  SK_CLASS(TCountedGreeter, TInterfacedObject)
 public:
  void Destroy() override {
    ++Destroyed;
    inherited::Destroy();
  }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IGreeter>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  String Greet() override { return L"hello"; }
  static inline int Destroyed = 0;
};

class TOwnedGreeter : public TNoRefCount<TObject>, public IGreeter {
  SK_CLASS(TOwnedGreeter, TObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IGreeter>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  String Greet() override { return L"owned"; }
};

TEST(ObjectModel, CountedInterfacesFreeTheirObjectWithTheLastReference) {
  TCountedGreeter::Destroyed = 0;
  TCountedGreeter* object = New<TCountedGreeter>();
  EXPECT_EQ(object->RefCount(), 0);
  {
    IPtr<IGreeter> greeter = Supports<IGreeter>(object);
    ASSERT_TRUE(greeter);
    EXPECT_EQ(greeter->Greet(), L"hello");
    IPtr<IGreeter> copy = greeter;
    EXPECT_EQ(object->RefCount(), 2);
    EXPECT_FALSE(Supports<IUnused>(object));
    IPtr<IGreeter> again = Supports<IGreeter>(static_cast<IInterface*>(greeter.Get()));
    EXPECT_EQ(again, greeter);
  }
  EXPECT_EQ(TCountedGreeter::Destroyed, 1);
}

TEST(ObjectModel, OwnerManagedInterfacesAnswerMinusOne) {
  TOwned<TOwnedGreeter> objectOwner(New<TOwnedGreeter>());
  TOwnedGreeter* object = objectOwner.get();
  IGreeter* raw = SupportsRaw<IGreeter>(object);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->_AddRef(), -1);
  EXPECT_EQ(raw->_Release(), -1);
  { IPtr<IGreeter> counted = Supports<IGreeter>(object); }
  EXPECT_EQ(raw->Greet(), L"owned");  // still alive: its owner frees it
  objectOwner.reset();
}

// --- Published properties and messages -------------------------------------

}  // namespace

template <>
struct TEnumInfo<TFontStyle> {
  static constexpr const wchar_t* Name = L"TFontStyle";
  static constexpr const wchar_t* Names[] = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};
  static constexpr TFontStyle Last = fsStrikeOut;
};

namespace {

constexpr UINT WM_TEST_A = WM_USER + 1;
constexpr UINT WM_TEST_B = WM_USER + 2;

class TWidget : public TObject {
  SK_CLASS(TWidget, TObject)
 public:
  static void Publish(TPublisher<TWidget>& P) {
    P.Property(L"Width", &TWidget::Width, &TWidget::SetWidth).Default(64);
    P.Property(L"Caption", &TWidget::Caption, &TWidget::SetCaption);
    P.Property(L"Visible", &TWidget::Visible, &TWidget::SetVisible).Default(true);
    P.Property(L"Style", &TWidget::Style, &TWidget::SetStyle);
    P.Property(L"Ratio", &TWidget::Ratio, &TWidget::SetRatio).Stored(&TWidget::IsRatioStored);
    P.Property(L"OnClick", &TWidget::OnClick, &TWidget::SetOnClick);
    P.Message<&TWidget::WMTestA>(WM_TEST_A);
  }
  void Create() { FWidth = 64; FVisible = true; }

  int Width() const { return FWidth; }
  void SetWidth(int A) { FWidth = A; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& A) { FCaption = A; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool A) { FVisible = A; }
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles A) { FStyle = A; }
  double Ratio() const { return FRatio; }
  void SetRatio(double A) { FRatio = A; }
  bool IsRatioStored() const { return FRatio != 0; }
  TNotifyEvent OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent A) { FOnClick = A; }

  void DefaultHandler(TMessage& M) override { M.Result = 99; }
  std::vector<std::string> Handled;

 protected:
  void WMTestA(TMessage& M) {
    Handled.push_back("TWidget.A");
    M.Result = 1;
  }

 private:
  int FWidth;
  String FCaption;
  bool FVisible;
  TFontStyles FStyle;
  double FRatio;
  TNotifyEvent FOnClick;
};

class TButtonWidget : public TWidget {
  SK_CLASS(TButtonWidget, TWidget)
 public:
  static void Publish(TPublisher<TButtonWidget>& P) {
    P.Property(L"Width", &TButtonWidget::Width, &TButtonWidget::SetWidth).Default(75);
    P.Property(L"Default", &TButtonWidget::IsDefault, &TButtonWidget::SetDefault).Default(false);
    P.Method<&TButtonWidget::Clicked>(L"Clicked");
    P.Message<&TButtonWidget::WMTestA>(WM_TEST_A);
    P.Message<&TButtonWidget::WMTestB>(WM_TEST_B);
  }
  bool IsDefault() const { return FDefault; }
  void SetDefault(bool A) { FDefault = A; }
  void Clicked(TObject*) { ++Clicks; }
  int Clicks = 0;

 protected:
  void WMTestA(TMessage& M) {
    Handled.push_back("TButtonWidget.A");
    InheritedMessage<TButtonWidget>(M);
  }
  void WMTestB(TMessage& M) {
    Handled.push_back("TButtonWidget.B");
    InheritedMessage<TButtonWidget>(M);  // no ancestor handles B: DefaultHandler
  }

 private:
  bool FDefault;
};

TEST(PublishedProperties, ListedInheritedFirstAndOverriddenInPlace) {
  std::vector<String> names;
  for (const TPropInfo* p : TButtonWidget::ClassInfo()->TypeData().Properties()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<String>{L"Width", L"Caption", L"Visible", L"Style", L"Ratio", L"OnClick",
                                        L"Default"}));
  EXPECT_EQ(GetPropInfo(TButtonWidget::ClassInfo(), L"width")->Default, 75);
  EXPECT_EQ(GetPropInfo(TWidget::ClassInfo(), L"Width")->Default, 64);
  EXPECT_EQ(GetPropInfo(TWidget::ClassInfo(), L"Default"), nullptr);
}

TEST(PublishedProperties, GetAndSetByName) {
  TButtonWidget* w = New<TButtonWidget>();
  SetOrdProp(w, FindPropInfo(w, L"Width"), 120);
  EXPECT_EQ(w->Width(), 120);
  SetStrProp(w, FindPropInfo(w, L"Caption"), L"OK");
  EXPECT_EQ(GetStrProp(w, FindPropInfo(w, L"Caption")), L"OK");
  SetEnumProp(w, FindPropInfo(w, L"Visible"), L"false");
  EXPECT_FALSE(w->Visible());
  EXPECT_EQ(GetEnumProp(w, FindPropInfo(w, L"Visible")), L"False");
  SetSetProp(w, FindPropInfo(w, L"Style"), L"[fsItalic, fsStrikeOut]");
  EXPECT_EQ(w->Style(), (TFontStyles{fsItalic, fsStrikeOut}));
  EXPECT_EQ(GetSetProp(w, FindPropInfo(w, L"Style"), true), L"[fsItalic,fsStrikeOut]");
  SetFloatProp(w, FindPropInfo(w, L"Ratio"), 0.25);
  EXPECT_DOUBLE_EQ(w->Ratio(), 0.25);

  EXPECT_THROW(FindPropInfo(w, L"Nope"), EPropertyError);
  EXPECT_THROW(SetStrProp(w, FindPropInfo(w, L"Width"), L"x"), EPropertyError);
  EXPECT_THROW(SetEnumProp(w, FindPropInfo(w, L"Visible"), L"Maybe"), EPropertyConvertError);
  EXPECT_THROW(SetSetProp(w, FindPropInfo(w, L"Style"), L"[fsBold,fsWavy]"), EPropertyConvertError);
  w->Free();
}

TEST(PublishedProperties, DefaultsAndStoredTests) {
  TButtonWidget* w = New<TButtonWidget>();
  const TPropInfo* width = FindPropInfo(w, L"Width");
  w->SetWidth(75);
  EXPECT_FALSE(IsStoredProp(w, width));
  w->SetWidth(64);
  EXPECT_TRUE(IsStoredProp(w, width));
  const TPropInfo* ratio = FindPropInfo(w, L"Ratio");
  EXPECT_FALSE(IsStoredProp(w, ratio));
  w->SetRatio(2);
  EXPECT_TRUE(IsStoredProp(w, ratio));
  EXPECT_TRUE(IsStoredProp(w, FindPropInfo(w, L"Caption")));
  w->Free();
}

TEST(PublishedProperties, EventsBindToPublishedMethodsByName) {
  TOwned<TButtonWidget> wOwner(New<TButtonWidget>());
  TButtonWidget* w = wOwner.get();
  const TMethodInfo* method = w->ClassType()->TypeData().FindMethod(L"clicked");
  ASSERT_NE(method, nullptr);
  const TPropInfo* onClick = FindPropInfo(w, L"OnClick");
  EXPECT_EQ(*method->Signature, *onClick->PropType->Signature);
  SetMethodProp(w, onClick, TMethod{method->Code, w});
  w->OnClick()(w);
  EXPECT_EQ(w->Clicks, 1);
  EXPECT_EQ(w->OnClick(), BindEvent<&TButtonWidget::Clicked>(w));
  EXPECT_EQ(w->ClassType()->TypeData().FindMethodByCode(GetMethodProp(w, onClick).Code)->Name, L"Clicked");
  wOwner.reset();
}

TEST(Messages, DispatchByIdWithInheritedHandlers) {
  TButtonWidget* w = New<TButtonWidget>();
  TMessage a{WM_TEST_A};
  w->Dispatch(a);
  EXPECT_EQ(w->Handled, (std::vector<std::string>{"TButtonWidget.A", "TWidget.A"}));
  EXPECT_EQ(a.Result, 1);

  w->Handled.clear();
  TMessage b{WM_TEST_B};
  w->Dispatch(b);
  EXPECT_EQ(w->Handled, (std::vector<std::string>{"TButtonWidget.B"}));
  EXPECT_EQ(b.Result, 99);

  TMessage other{WM_USER + 50};
  w->Dispatch(other);
  EXPECT_EQ(other.Result, 99);
  w->Free();
}

TEST(Exceptions, MessageAndClassName) {
  try {
    throw EConvertError(L"'%s' ist kein gültiger Integerwert", {L"x1"});
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"'x1' ist kein gültiger Integerwert");
    EXPECT_EQ(e.ClassName(), L"EConvertError");
  }
}

}  // namespace
