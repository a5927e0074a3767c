#pragma once

namespace kadrix {

// Sets up the heap for framing one large picture after another. Call once at
// start, before any thread is started.
//
// By default glibc gives blocks of a few megabytes (a photo's bytes, its
// decoded rows, a progressive file's coefficients) back to the system when
// they are freed, and the next picture's blocks are then faulted in afresh,
// page by page, which costs more than reading the file: here the process
// keeps them. The first picture's blocks are faulted in 2 MB at a time where
// the system offers huge pages on request, instead of 4 KB at a time.
void tuneMemoryForPictures();

} // namespace kadrix
