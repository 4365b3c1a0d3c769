#pragma once
// Whether the string grid's cells show their stored texts unchanged, so that
// the sort and the filter may read the stored texts in place.

class TExStringGrid;

bool ShowsStoredTexts(const TExStringGrid& Grid);
