#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <algorithm>

using namespace Gdiplus;

// ---------------------------------------------------------------------------
// TdxGPCustomGraphicObject

void TdxGPCustomGraphicObject::BeforeDestruction() {
  FreeHandle();
  inherited::BeforeDestruction();
}

void TdxGPCustomGraphicObject::Assign(TdxGPCustomGraphicObject*) {}

void TdxGPCustomGraphicObject::Changed() {
  if (FChangeLockCount == 0) CallEvent(FOnChange, this);
}

void TdxGPCustomGraphicObject::HandleNeeded() {
  if (FHandle) return;
  ++FChangeLockCount;
  const TScopeExit unlock([this] { --FChangeLockCount; });
  CreateHandle(FHandle);
  HandleCreated();
}

void TdxGPCustomGraphicObject::FreeHandle() {
  if (!FHandle) return;
  DestroyHandle(FHandle);
  FHandle = nullptr;
}

TdxGPCustomGraphicObject* TdxGPCustomGraphicObject::Clone() {
  TOwned<TdxGPCustomGraphicObject> result(NewOfClass<TdxGPCustomGraphicObject>(ClassType()));
  result->Assign(this);
  return result.release();
}

// ---------------------------------------------------------------------------
// TdxGPMatrix

void TdxGPMatrix::Create(const XFORM& AXForm) {
  Create();
  SetElements(AXForm);
}

void TdxGPMatrix::Create(float M11, float M12, float M21, float M22, float DX, float DY) {
  Create();
  SetElements(M11, M12, M21, M22, DX, DY);
}

void TdxGPMatrix::Create(bool AFlipHorizontally, bool AFlipVertically, float APivotX, float APivotY) {
  Create(MakeFlipXForm(AFlipHorizontally, AFlipVertically, APivotX, APivotY));
}

void TdxGPMatrix::Create(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivot) {
  Create(AFlipHorizontally, AFlipVertically, APivot.X, APivot.Y);
}

void TdxGPMatrix::CreateHandle(TdxGpHandle& AHandle) {
  GpMatrix* matrix = nullptr;
  CheckGdipStatus(GdipCreateMatrix(&matrix));
  AHandle = matrix;
}

void TdxGPMatrix::DestroyHandle(TdxGpHandle& AHandle) { GdipDeleteMatrix(static_cast<GpMatrix*>(AHandle)); }

void TdxGPMatrix::Assign(TdxGPCustomGraphicObject* ASource) {
  if (auto* source = dynamic_cast<TdxGPMatrix*>(ASource)) SetElements(source->ToXForm());
}

TdxGPMatrix* TdxGPMatrix::Clone(TdxGPMatrix* AMatrix) {
  return AMatrix ? static_cast<TdxGPMatrix*>(AMatrix->TdxGPCustomGraphicObject::Clone()) : nullptr;
}

void TdxGPMatrix::GetElements(float& M11, float& M12, float& M21, float& M22, float& DX, float& DY) {
  float m[6];
  CheckGdipStatus(GdipGetMatrixElements(GpHandle(), m));
  M11 = m[0];
  M12 = m[1];
  M21 = m[2];
  M22 = m[3];
  DX = m[4];
  DY = m[5];
}

void TdxGPMatrix::SetElements(float M11, float M12, float M21, float M22, float DX, float DY) {
  CheckGdipStatus(GdipSetMatrixElements(GpHandle(), M11, M12, M21, M22, DX, DY));
  Changed();
}

void TdxGPMatrix::SetElements(const XFORM& AXForm) {
  SetElements(AXForm.eM11, AXForm.eM12, AXForm.eM21, AXForm.eM22, AXForm.eDx, AXForm.eDy);
}

XFORM TdxGPMatrix::ToXForm() {
  XFORM result;
  GetElements(result.eM11, result.eM12, result.eM21, result.eM22, result.eDx, result.eDy);
  return result;
}

void TdxGPMatrix::Invert() {
  CheckGdipStatus(GdipInvertMatrix(GpHandle()));
  Changed();
}

XFORM TdxGPMatrix::Invert(const XFORM& AXForm) {
  const TOwned<TdxGPMatrix> matrix(New<TdxGPMatrix>(AXForm));
  matrix->Invert();
  return matrix->ToXForm();
}

void TdxGPMatrix::Multiply(TdxGPMatrix* AMatrix, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipMultiplyMatrix(GpHandle(), AMatrix->GpHandle(), AOrder));
  Changed();
}

void TdxGPMatrix::Multiply(const XFORM& AXForm, TdxGpMatrixOrder AOrder) {
  const TOwned<TdxGPMatrix> matrix(New<TdxGPMatrix>(AXForm));
  Multiply(matrix.get(), AOrder);
}

void TdxGPMatrix::Rotate(float AAngle, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipRotateMatrix(GpHandle(), AAngle, AOrder));
  Changed();
}

void TdxGPMatrix::Rotate(float AAngle, const TdxPointF& APivot, TdxGpMatrixOrder AOrder) {
  // Prepended steps act in reverse order of the calls, appended ones in
  // order; the sign makes both a rotation about the pivot.
  const float s = AOrder == MatrixOrderPrepend ? 1.0f : -1.0f;
  Translate(s * APivot.X, s * APivot.Y, AOrder);
  Rotate(AAngle, AOrder);
  Translate(-s * APivot.X, -s * APivot.Y, AOrder);
}

void TdxGPMatrix::Scale(float ASX, float ASY, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipScaleMatrix(GpHandle(), ASX, ASY, AOrder));
  Changed();
}

void TdxGPMatrix::Scale(const TdxPointF& AScale, const TdxPointF& ACenter, TdxGpMatrixOrder) {
  SetElements(AScale.X, 0, 0, AScale.Y, ACenter.X - ACenter.X * AScale.X, ACenter.Y - ACenter.Y * AScale.Y);
}

void TdxGPMatrix::Shear(float AX, float AY, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipShearMatrix(GpHandle(), AX, AY, AOrder));
  Changed();
}

void TdxGPMatrix::Translate(float ADX, float ADY, TdxGpMatrixOrder AOrder) {
  CheckGdipStatus(GdipTranslateMatrix(GpHandle(), ADX, ADY, AOrder));
  Changed();
}

void TdxGPMatrix::Flip(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivot) {
  if (!AFlipHorizontally && !AFlipVertically) return;
  const TOwned<TdxGPMatrix> flip(New<TdxGPMatrix>(AFlipHorizontally, AFlipVertically, APivot));
  Multiply(flip.get(), MatrixOrderAppend);
}

TdxPointF TdxGPMatrix::TransformPoint(const TdxPointF& P) { return TransformPointFByXForm(ToXForm(), P); }
TPoint TdxGPMatrix::TransformPoint(const TPoint& P) { return TransformPointByXForm(ToXForm(), P); }

void TdxGPMatrix::TransformPoints(std::vector<TPoint>& APoints) {
  TransformPointsI(APoints.data(), static_cast<int>(APoints.size()));
}

void TdxGPMatrix::TransformPoints(std::vector<TdxPointF>& APoints) {
  if (APoints.empty()) return;
  const XFORM xform = ToXForm();
  for (TdxPointF& point : APoints) point = TransformPointFByXForm(xform, point);
}

void TdxGPMatrix::TransformPointsI(TPoint* APoints, int ACount) {
  if (ACount <= 0) return;
  const XFORM xform = ToXForm();
  for (TPoint& point : std::span(APoints, static_cast<std::size_t>(ACount))) point = TransformPointByXForm(xform, point);
}

TdxRectF TdxGPMatrix::TransformRect(const TdxRectF& R) { return TransformRectFByXForm(ToXForm(), R); }
TRect TdxGPMatrix::TransformRect(const TRect& R) { return TransformRectByXForm(ToXForm(), R); }

TdxRectF TdxGPMatrix::GetBoundingRectangle(const TdxRectF& R) {
  const XFORM xform = ToXForm();
  const TdxPointF corners[] = {
      TransformPointFByXForm(xform, TdxPointF(R.Left, R.Top)), TransformPointFByXForm(xform, TdxPointF(R.Right, R.Top)),
      TransformPointFByXForm(xform, TdxPointF(R.Right, R.Bottom)),
      TransformPointFByXForm(xform, TdxPointF(R.Left, R.Bottom))};
  TdxRectF result(corners[0].X, corners[0].Y, corners[0].X, corners[0].Y);
  for (const TdxPointF& corner : corners) {
    result.Left = std::min(result.Left, corner.X);
    result.Top = std::min(result.Top, corner.Y);
    result.Right = std::max(result.Right, corner.X);
    result.Bottom = std::max(result.Bottom, corner.Y);
  }
  return result;
}

bool TdxGPMatrix::IsIdentity() {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsMatrixIdentity(GpHandle(), &result));
  return result;
}

bool TdxGPMatrix::IsInvertible() {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsMatrixInvertible(GpHandle(), &result));
  return result;
}

float TdxGPMatrix::OffsetX() { return ToXForm().eDx; }
float TdxGPMatrix::OffsetY() { return ToXForm().eDy; }
