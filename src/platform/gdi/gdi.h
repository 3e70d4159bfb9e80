#pragma once
// Our GDI subset. Handles of every kind are checked: a stale or foreign handle makes a call
// fail, never crash. Objects selected into a device context live on until they are deselected
// or the context is deleted, even after DeleteObject.

#include "platform/gdi/gdi_types.h"

// NULL when the height is 0 or below (or above 4096) or no glyph can be made. The face name is
// looked up in a substitution table ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", "Arial"), then through
// fontconfig, then falls back to IPA Gothic (Shift-JIS) or DejaVu Sans; the table's faces come
// from fixed font files, so their text renders the same on every machine. The height is the em
// size in pixels: a full-width glyph is as wide as the height, a half-width one half of it.
HFONT CreateFontIndirectA(const LOGFONTA* logFont);

// A memory device context with no font and no bitmap of its own; `reference` is ignored.
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);

// Only 32-bit BI_RGB DIBs. `*bits` receives zeroed pixel memory of width * 4 bytes per row,
// owned by the bitmap; `section` and `offset` must be 0.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);

// Selects a font or a bitmap; answers the previously selected object of that kind (the
// context's stock object at first), or NULL on failure.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ SelectObject(HDC dc, HFONT font);
HGDIOBJ SelectObject(HDC dc, HBITMAP bitmap);
BOOL DeleteObject(HGDIOBJ object);
BOOL DeleteObject(HFONT font);
BOOL DeleteObject(HBITMAP bitmap);

int SetMapMode(HDC dc, int mode);  // MM_TEXT only; 0 on failure
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF SetBkColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);
UINT SetTextAlign(HDC dc, UINT align);

// Width: the sum of the characters' advances; height: the font's ascent plus descent.
// `count` is in bytes; a double-byte character counts two.
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size);

// Draws anti-aliased text into the selected DIB (clipped to it), as grey levels between the
// background and the text colour. ETO_OPAQUE fills `rect` with the background colour first;
// ETO_CLIPPED clips to it; `dx` (or NULL) gives each character's advance.
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* dx);
