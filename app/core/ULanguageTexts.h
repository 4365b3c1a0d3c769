#pragma once
// The built-in English texts from which the language table is filled.

struct TLangDefaultText {
    int Index;
    const char16_t* Text;
};

// In index order; indices from 0 to 2899 that are missing hold " ".
extern const TLangDefaultText Lang_Default_Texts[];
extern const int Lang_Default_Text_Count;
