// Between the files of the colour unit (dxCoreGraphics): the start-up and
// shut-down of its text-measuring part.
#pragma once

// Creates the measuring canvas and the scratch font.
void dxTextMeasurerInitialization();
void dxTextMeasurerFinalization();
