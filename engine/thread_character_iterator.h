#pragma once

// One ICU character break iterator per thread, shared by every cursor that
// walks characters on that thread (UTF-8 cursors here, UTF-16 cursors in
// proofreading): making an iterator costs far more than re-attaching text,
// and a text is walked by one cursor at a time.

#include <unicode/brkiter.h>
#include <unicode/utext.h>

namespace brindlewort {

struct ThreadCharacterIterator {
  // Null when ICU could not make one; callers then fall back to scalars.
  icu::BreakIterator* iterator = nullptr;
  // The cursor whose text is attached; any other re-attaches its own first.
  const void* owner = nullptr;
  // Storage for a UTF-8 text attached through UText.
  UText utf8Text = UTEXT_INITIALIZER;
};

// This thread's iterator.
ThreadCharacterIterator& threadCharacterIterator();

}  // namespace brindlewort
