// The parts of the graphics unit's start-up and shut-down that live in the
// unit's other files, and its finalized flag.
#pragma once

// True from the beginning of the unit's shut-down: shared canvases, scratch
// bitmaps and caches are not made any more.
bool cxGraphicsFinalized();

void cxGraphicsRoutinesInitialization();
void cxGraphicsRoutinesFinalization();
void cxSharedCanvasesFinalization();
void cxParentBackgroundInitialization();
void cxParentBackgroundFinalization();
// The paint cache and the smart images' animation controller.
void cxImageDrawingInitialization();
void cxImageDrawingFinalization();
