// The progress bar.
//
// Classes in this file:
//   TcxProgressBarProperties   range, colours and text settings
//   TcxProgressBar             the progress bar
//
// This is the minimal form of the progress bar: the class with the properties
// the main window and its form description use (Position, Properties.Min,
// Max, BeginColor, PeakValue, SolidTextColor, Style.Font, the four state
// styles' LookAndFeel). It is a container: the container draws the styled
// border and the background; the bar paints a solid bar in BeginColor over
// the content, with the percentage centred in the style's font.
#pragma once

#include "library/controls/container/cxContainer.h"

class TcxProgressBar;

class TcxProgressBarProperties : public TPersistent {
  SK_CLASS(TcxProgressBarProperties, TPersistent)
 public:
  static void Publish(TPublisher<TcxProgressBarProperties>& P);

  void Create(TcxProgressBar* ABar);
  void Assign(TPersistent* ASource) override;

  TColor BeginColor() const { return FBeginColor; }
  void SetBeginColor(TColor AValue);
  double Min() const { return FMin; }
  void SetMin(double AValue);
  double Max() const { return FMax; }
  void SetMax(double AValue);
  double PeakValue() const { return FPeakValue; }
  void SetPeakValue(double AValue);
  bool SolidTextColor() const { return FSolidTextColor; }
  void SetSolidTextColor(bool AValue);

 protected:
  TPersistent* GetOwner() override;

 private:
  void Changed();
  bool IsMinStored() const { return FMin != 0; }
  bool IsMaxStored() const { return FMax != 100; }
  bool IsPeakValueStored() const { return FPeakValue != 0; }

  TcxProgressBar* FBar;
  TColor FBeginColor;
  double FMin;
  double FMax;
  double FPeakValue;
  bool FSolidTextColor;
};

class TcxProgressBar : public TcxContainer {
  SK_CLASS(TcxProgressBar, TcxContainer)
 public:
  static void Publish(TPublisher<TcxProgressBar>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TcxProgressBarProperties* Properties() const { return FProperties.get(); }
  void SetProperties(TcxProgressBarProperties* AValue) { FProperties->Assign(AValue); }
  // An equal value is ignored; outside loading the value is clamped to
  // Min..Max when Max exceeds Min.
  double Position() const { return FPosition; }
  void SetPosition(double AValue);

  // The text the bar shows ("42 %").
  String DisplayText() const;
  // The filled part of the content inside the container's border.
  TRect BarRect();

 protected:
  void PaintControl() override;
  void Loaded() override;

 private:
  friend class TcxProgressBarProperties;
  double Clamped(double AValue) const;
  bool IsPositionStored() const { return FPosition != 0; }

  TOwned<TcxProgressBarProperties> FProperties;
  double FPosition;
};

// Unit start-up: registers the class by name.
void cxProgressBarInitialization();
