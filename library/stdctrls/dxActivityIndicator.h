// The activity indicator.
//
// Classes in this file:
//   TdxActivityIndicatorProperties                 the animation's settings
//   TdxActivityIndicatorHorizontalDotsProperties   dots running along the control
//   TdxActivityIndicator                           the indicator
//
// This is the minimal form of the activity indicator: the class with the
// properties the main window and its form description use (Active,
// PropertiesClassName, Properties.AnimationTime, DotColor, DotSize,
// LookAndFeel). While active, a timer moves DotCount dots of DotColor from
// the left edge to the right one along the vertical middle, one run per
// AnimationTime; inactive, the control shows its background only.
#pragma once

#include "library/controls/control/cxControls.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExtCtrls.h"

#include <cstdint>

class TdxActivityIndicator;

class TdxActivityIndicatorProperties : public TPersistent {
  SK_CLASS(TdxActivityIndicatorProperties, TPersistent)
 public:
  static void Publish(TPublisher<TdxActivityIndicatorProperties>& P);

  virtual void Create(TdxActivityIndicator* AOwner);
  void Assign(TPersistent* ASource) override;

  // Milliseconds of one run; at least 1.
  unsigned AnimationTime() const { return FAnimationTime; }
  void SetAnimationTime(unsigned AValue);

  // Draws the indicator at AElapsed milliseconds since it became active.
  virtual void Draw(TCanvas* ACanvas, const TRect& ABounds, std::uint64_t AElapsed) = 0;

 protected:
  TPersistent* GetOwner() override;
  void Changed();

  TdxActivityIndicator* FOwner;
  unsigned FAnimationTime;
};

class TdxActivityIndicatorHorizontalDotsProperties : public TdxActivityIndicatorProperties {
  SK_CLASS(TdxActivityIndicatorHorizontalDotsProperties, TdxActivityIndicatorProperties)
 public:
  static void Publish(TPublisher<TdxActivityIndicatorHorizontalDotsProperties>& P);

  void Create(TdxActivityIndicator* AOwner) override;
  void Assign(TPersistent* ASource) override;

  // An alpha colour $AARRGGBB, stored as a signed 32-bit number; 0 (unset)
  // draws in the highlight colour.
  std::int32_t DotColor() const { return FDotColor; }
  void SetDotColor(std::int32_t AValue);
  int DotCount() const { return FDotCount; }
  void SetDotCount(int AValue);
  // Pixels across; 2..50.
  int DotSize() const { return FDotSize; }
  void SetDotSize(int AValue);

  // The centre of dot AIndex at AElapsed milliseconds (x may lie outside
  // ABounds while the dot waits at the start or has arrived).
  TPoint DotCentre(const TRect& ABounds, int AIndex, std::uint64_t AElapsed) const;
  void Draw(TCanvas* ACanvas, const TRect& ABounds, std::uint64_t AElapsed) override;

 private:
  bool IsDotColorStored() const { return FDotColor != 0; }

  std::int32_t FDotColor;
  int FDotCount;
  int FDotSize;
};

class TdxActivityIndicator : public TcxControl {
  SK_CLASS(TdxActivityIndicator, TcxControl)
 public:
  static void Publish(TPublisher<TdxActivityIndicator>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // True starts the animation, false stops it.
  bool Active() const { return FActive; }
  void SetActive(bool AValue);

  // The class of Properties by name; another class makes new properties.
  String PropertiesClassName() const { return FProperties->ClassName(); }
  void SetPropertiesClassName(const String& AValue);
  TdxActivityIndicatorProperties* Properties() const { return FProperties.get(); }
  void SetProperties(TdxActivityIndicatorProperties* AValue) { FProperties->Assign(AValue); }

  // Milliseconds since the animation started (0 while inactive).
  std::uint64_t Elapsed() const;

 protected:
  void PaintControl() override;

 private:
  void Tick(TObject* Sender);

  bool FActive;
  std::uint64_t FStart;
  TOwned<TTimer> FTimer;
  TOwned<TdxActivityIndicatorProperties> FProperties;
};

// Unit start-up: registers the classes by name.
void dxActivityIndicatorInitialization();
