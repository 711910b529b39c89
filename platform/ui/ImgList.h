// Image lists over the common controls' native image list.
//
// Classes in this file:
//   TDrawingStyle, TImageType, TColorDepth, TResType, TLoadResource(s)
//   TChangeLink         how a control hears that an image list changed
//   TCustomImageList    the native list: adding, deleting, moving, drawing
//   TDragImageList      adds the drag image operations
//   TImageList          publishes the properties for form descriptions
//
// The native list is created on first need with the list's size, colour
// depth and mask setting; changing any of them recreates it empty. Every
// change ends in Change, which tells the registered change links and
// OnChange (once per BeginUpdate/EndUpdate bracket).
#pragma once

#include "platform/classes/Component.h"
#include "platform/ui/Graphics.h"

// The stream interface first: the image list declares its stream functions
// only when it is known.
#include <objidl.h>
#include <commctrl.h>

#include <functional>
#include <vector>

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
template <>
struct TEnumInfo<TDrawingStyle> {
  static constexpr const wchar_t* Name = L"TDrawingStyle";
  static constexpr const wchar_t* Names[] = {L"dsFocus", L"dsSelected", L"dsNormal", L"dsTransparent"};
  static constexpr TDrawingStyle Last = dsTransparent;
};

enum TImageType { itImage, itMask };
template <>
struct TEnumInfo<TImageType> {
  static constexpr const wchar_t* Name = L"TImageType";
  static constexpr const wchar_t* Names[] = {L"itImage", L"itMask"};
  static constexpr TImageType Last = itMask;
};

enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
template <>
struct TEnumInfo<TColorDepth> {
  static constexpr const wchar_t* Name = L"TColorDepth";
  static constexpr const wchar_t* Names[] = {L"cdDeviceDependent", L"cd4Bit", L"cd8Bit",
                                             L"cd16Bit",           L"cd24Bit", L"cd32Bit"};
  static constexpr TColorDepth Last = cd32Bit;
};

enum TResType { rtBitmap, rtCursor, rtIcon };
enum TLoadResource { lrDefaultColor, lrDefaultSize, lrFromFile, lrMap3DColors, lrTransparent, lrMonoChrome };
using TLoadResources = TSet<TLoadResource>;

class TCustomImageList;

class TChangeLink : public TObject {
  SK_CLASS(TChangeLink, TObject)
 public:
  // Unregisters from the list it is registered with.
  void Destroy() override;

  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* AValue) { FSender = AValue; }
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }
  // Calls OnChange with the list as sender.
  virtual void Change();

 private:
  TCustomImageList* FSender;
  TNotifyEvent FOnChange;
};

class TCustomImageList : public TComponent {
  SK_CLASS(TCustomImageList, TComponent)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  // From another image list: its settings and a copy of its images.
  void Assign(TPersistent* ASource) override;

  // The native list, created on first use.
  HIMAGELIST Handle();
  // Takes over AValue (its size is read from it); 0 frees the list.
  void SetHandle(HIMAGELIST AValue);
  bool HandleAllocated() const { return FHandle != nullptr; }
  int Count();

  int Width() const { return FWidth; }
  void SetWidth(int AValue) { SetSize(AValue, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int AValue) { SetSize(FWidth, AValue); }
  // Each side at least 1; a new size deletes every image.
  virtual void SetSize(int AWidth, int AHeight);
  int AllocBy() const { return FAllocBy; }
  void SetAllocBy(int AValue) { FAllocBy = AValue < 1 ? 1 : AValue; }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor AValue);
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor AValue);
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth AValue);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle AValue);
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType AValue);
  bool Masked() const { return FMasked; }
  void SetMasked(bool AValue);
  // A shared native list is not destroyed with this component.
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool AValue) { FShareImages = AValue; }
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

  // The operations below are virtual so that a list keeping its own record
  // of the images can follow every change.
  // Adding: each returns the index of the (first) image added, -1 when
  // the native list refused it. An image wider than the list adds one
  // image per cell.
  virtual int Add(TBitmap* AImage, TBitmap* AMask);
  virtual int AddMasked(TBitmap* AImage, TColor AMaskColor);
  virtual int AddIcon(TIcon* AImage);
  int AddImage(TCustomImageList* AValue, int AIndex);
  void AddImages(TCustomImageList* AValue);
  virtual void Insert(int AIndex, TBitmap* AImage, TBitmap* AMask);
  virtual void InsertMasked(int AIndex, TBitmap* AImage, TColor AMaskColor);
  virtual void InsertIcon(int AIndex, TIcon* AImage);
  virtual void Replace(int AIndex, TBitmap* AImage, TBitmap* AMask);
  virtual void ReplaceMasked(int AIndex, TBitmap* AImage, TColor AMaskColor);
  virtual void ReplaceIcon(int AIndex, TIcon* AImage);
  // -1 deletes every image; any other index outside the list raises.
  virtual void Delete(int AIndex);
  void Clear() { Delete(-1); }
  virtual void Move(int ACurIndex, int ANewIndex);

  // Drawing with DrawingStyle and ImageType; disabled images are drawn in
  // the embossed system look.
  void Draw(TCanvas* ACanvas, int X, int Y, int AIndex, bool AEnabled = true);
  void Draw(TCanvas* ACanvas, int X, int Y, int AIndex, TDrawingStyle ADrawingStyle, TImageType AImageType,
            bool AEnabled = true);
  void DrawOverlay(TCanvas* ACanvas, int X, int Y, int AImageIndex, int AOverlay, bool AEnabled = true);
  bool Overlay(int AImageIndex, int AOverlay);

  // An image as a bitmap of the list's size (32-bit lists keep alpha).
  bool GetBitmap(int AIndex, TBitmap* AImage);
  // The mask of an image as a monochrome bitmap (black where the image is).
  bool GetMask(int AIndex, TBitmap* AMask);
  void GetIcon(int AIndex, TIcon* AImage);
  HBITMAP GetImageBitmap();
  HBITMAP GetMaskBitmap();

  // Loading from resources and files into a new native list.
  virtual bool GetResource(TResType AResType, const String& AName, int AWidth, TLoadResources ALoadFlags,
                           TColor AMaskColor);
  virtual bool GetInstRes(HINSTANCE AInstance, TResType AResType, const String& AName, int AWidth,
                          TLoadResources ALoadFlags, TColor AMaskColor);
  virtual bool FileLoad(TResType AResType, const String& AName, TColor AMaskColor);
  virtual bool ResourceLoad(TResType AResType, const String& AName, TColor AMaskColor);
  virtual bool ResInstLoad(HINSTANCE AInstance, TResType AResType, const String& AName, TColor AMaskColor);

  void RegisterChanges(TChangeLink* AValue);
  void UnRegisterChanges(TChangeLink* AValue);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  // The native list's data, as the common controls write it.
  virtual void ReadData(TStream* AStream);
  virtual void WriteData(TStream* AStream);

 protected:
  // Tells the change links and OnChange (not inside an update bracket).
  virtual void Change();
  // The one place all drawing goes through; AStyle holds ILD_xxx flags.
  virtual void DoDraw(int AIndex, TCanvas* ACanvas, int X, int Y, UINT AStyle, bool AEnabled);
  // Run once by Create; descendants set their own defaults here.
  virtual void Initialize();
  // Changes held back while loading are told now.
  void Loaded() override;
  void DefineProperties(TFiler* AFiler) override;
  void CheckIndex(int AIndex, int ACount) const;
  // Creates the native list when there is none, with room for ACapacity
  // images at once (AllocBy when fewer); it grows by AllocBy.
  void HandleNeeded(int ACapacity = 0);
  // Frees the native list (unless shared) and forgets it.
  void FreeHandle();
  // Recreates the native list empty (a setting changed, or ACapacity images
  // are about to come: the list then grows once, not every AllocBy images).
  void RecreateHandle(int ACapacity = 0);

 private:
  UINT CreateFlags() const;
  // Adds each list-sized cell of AImage; AMask may be null.
  int AddCells(TBitmap* AImage, TBitmap* AMask, TColor AMaskColor);
  void MoveImage(int AFrom, int ATo);
  // Adds with AAdd (answering the first index added, or -1), then moves
  // what was added to AIndex on; one change.
  void InsertAdded(int AIndex, const std::function<int()>& AAdd);
  void DrawDisabled(int AIndex, TCanvas* ACanvas, int X, int Y);
  bool LoadNative(HINSTANCE AInstance, TResType AResType, const String& AName, int AWidth, UINT AFlags,
                  TColor AMaskColor);

  HIMAGELIST FHandle;
  int FWidth;
  int FHeight;
  int FAllocBy;
  TColor FBkColor;
  TColor FBlendColor;
  TColorDepth FColorDepth;
  TDrawingStyle FDrawingStyle;
  TImageType FImageType;
  bool FMasked;
  bool FShareImages;
  int FUpdateCount;
  bool FChanged;
  std::vector<TChangeLink*> FClients;
  TNotifyEvent FOnChange;
};

class TDragImageList : public TCustomImageList {
  SK_CLASS(TDragImageList, TCustomImageList)
 public:
  // Starts showing image DragImageIndex at (X, Y) in the window's coordinates.
  bool BeginDrag(HWND AWindow, int X, int Y);
  bool DragMove(int X, int Y);
  bool EndDrag();
  bool DragLock(HWND AWindow, int X, int Y);
  void DragUnlock();
  void ShowDragImage();
  void HideDragImage();
  // The image shown while dragging and its hot spot.
  bool SetDragImage(int AIndex, int AHotSpotX, int AHotSpotY);
  int DragImageIndex() const { return FDragIndex; }
  bool Dragging() const { return FDragging; }

 private:
  int FDragIndex;
  TPoint FDragHotspot;
  HWND FDragWindow;
  bool FDragging;
};

class TImageList : public TDragImageList {
  SK_CLASS(TImageList, TDragImageList)
 public:
  static void Publish(TPublisher<TImageList>& P);
};

// Unit start-up (see UiUnits.cpp).
void ImgListInitialization();
