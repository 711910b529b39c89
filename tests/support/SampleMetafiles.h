// Ten pictures recorded by GDI itself, as an EMF file and as a placeable WMF
// file each: shapes, polygons and curves, text, bitmaps, blending and
// gradients, paths and clipping, mapping modes and transforms, styled pens,
// regions and hatches, and a chart of many small records. The tests, the
// fuzzing drivers (as seeds) and the image benchmark share them; the content
// is the same on every run.
#pragma once

#include <string>
#include <vector>

struct TSampleMetafile {
  const wchar_t* Name;
  int Width, Height;  // of the recorded picture, in pixels
  std::string Emf;
  std::string Wmf;
};

std::vector<TSampleMetafile> SampleMetafiles();
