// Windows-1252, the single-byte code page of the schools' machines and of
// Horalis's tables: one byte is one character, in both directions.
#pragma once

namespace enlazor::cp1252 {

// The character a byte stands for. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control character
// of the same value, so that every byte survives a round trip.
char16_t decode(unsigned char byte);

// The byte for one character of the Basic Multilingual Plane: its own byte
// when the code page has it, else a best-fit substitute (a plain letter for
// a letter with a diacritic, "-" for a dash, a blank for a wide space), else
// "?". Surrogates and combining marks are the caller's business.
unsigned char encode(char16_t character);

// True for the combining diacritical marks (U+0300..U+036F).
bool is_combining_mark(char16_t character);

// The byte of the letter that `base` and the combining `mark` make together
// (e + U+0301 gives é), or 0 when the code page has no such letter.
unsigned char compose(char16_t base, char16_t mark);

// The lower-case form of a byte: every letter the code page has in two
// cases folds to its small letter (Ñ to ñ, Š to š, Ÿ to ÿ); other bytes stay.
unsigned char fold_case(unsigned char byte);

} // namespace enlazor::cp1252
