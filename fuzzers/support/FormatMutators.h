// Mutations that know a file format: each edits the fields a reader trusts
// (sizes, counts, indexes, lengths) and repairs what would make the input
// fail early (chunk CRCs, record sizes, header totals), so that the input
// reaches the decoder or player behind the format's own checks. Each falls
// back to a byte-level mutation when the input does not parse.
#pragma once

#include <string>

class TFuzzMutator;

// PNG: IHDR sizes and depths, IDAT inflated, edited and deflated again,
// text chunks multiplied, chunks dropped or doubled; CRCs recomputed.
std::string MutatePng(TFuzzMutator& AMutator, const std::string& ASeed);
// GIF: screen and frame sizes, frames multiplied by the thousand, LZW data
// and extension blocks edited, the trailer dropped.
std::string MutateGif(TFuzzMutator& AMutator, const std::string& ASeed);
// JPEG: frame sizes (any start-of-frame kind), segment lengths, segments doubled.
std::string MutateJpeg(TFuzzMutator& AMutator, const std::string& ASeed);
// TIFF: the first directory's entries (sizes, sample depths, offsets, counts).
std::string MutateTiff(TFuzzMutator& AMutator, const std::string& ASeed);
// EMF: a record's fields set to extremes, records doubled, dropped or retyped,
// header bounds and frame; record sizes and the header's totals kept right.
std::string MutateEmf(TFuzzMutator& AMutator, const std::string& ASeed);
// WMF (placeable or not): as EMF, with 16-bit fields and word sizes.
std::string MutateWmf(TFuzzMutator& AMutator, const std::string& ASeed);
// ZIP: central entries doubled onto one local header, flags (encryption),
// sizes and methods edited in both headers alike.
std::string MutateZip(TFuzzMutator& AMutator, const std::string& ASeed);
// Form text: numbers set to extremes, lines doubled or dropped, hex data
// edited, collection items multiplied.
std::string MutateFormText(TFuzzMutator& AMutator, const std::string& ASeed);
