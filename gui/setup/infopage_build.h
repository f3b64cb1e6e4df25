// Building blocks of the setup information pages, shared by the page files.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "infopages.h"

class FGDrawBuffer;

void PageBegin(TInfoPage* page, int x, int y, int w, int h);
// A text in the panel colours; null when the page is full.
TPageText* PageAdd(TInfoPage* page, int x, int y, const char* text, uint8_t align = PageAlignLeft,
                   uint8_t font = PageFontBody);
TPageText* PageAddF(TInfoPage* page, int x, int y, uint8_t align, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
// The title in the title font, centred on the page box.
void PageTitle(TInfoPage* page, const char* text, int y);
void PageRect(TInfoPage* page, int x, int y, int w, int h, uint32_t colour, bool filled);
// Keeps the labels at labelX of texts from first on clear of their values at valueX: the
// value column moves right of the longest label as far as the widest value stays inside
// the page, and labels that would still reach it take the smaller label font.
void FitValueColumn(TInfoPage* page, int first, int labelX, int valueX);
// The translated text at index of the list; "" outside it (an unknown unit shows none).
const char* PickText(int index, std::initializer_list<const char*> texts);
// True when the averaged channel reads a valid value.
bool ChannelReads(uint32_t channel, int32_t* value);
// Builds a page into the shared scratch page and paints it.
void DrawVariantPage(FGDrawBuffer* window, void (*build)(TInfoPage*, int), int variant, int fillOp, int textOp,
                     uint32_t fill);
void DrawPlainPage(FGDrawBuffer* window, void (*build)(TInfoPage*), int fillOp, int textOp, uint32_t fill);
// 1 on the engine screen (its variant of a page), else 0.
int EngineVariant();
