// The model's driver buffer below Program Files, replaced as a swap that a cut
// (a killed process, a power loss) may interrupt at any point: the new copy
// is built beside the buffer as "<buffer>.new" and marked complete last; the
// old buffer is moved aside to "<buffer>.old" in one rename, the new copy is
// moved in, and the old one is deleted last. The next run finishes or removes
// what a cut left before it looks at the buffer.
#pragma once

#include "platform/Port.h"

namespace bufferswap {

// Program Files\<manufacturer>\Printer Drivers\<model>.
TString FolderFor(const TString& programFiles, const TString& manufacturer, const TString& model);

// The folder holds a complete copy: its marker, written after the last file.
bool IsComplete(const TString& folder);

// Finishes or removes what an interrupted refresh left beside `folder`: a
// complete new copy is moved in, a half one deleted; the moved-aside old
// buffer is put back when nothing complete replaced it, else deleted.
void Recover(THandle owner, const TString& folder);

// Replaces `folder` by a complete copy of `source`. Raises Exception, with
// the old buffer untouched, when the copy fails or the old buffer cannot be
// moved aside (files in it are in use).
void Refresh(THandle owner, const TString& source, const TString& folder);

}  // namespace bufferswap
