#pragma once

namespace kadrix {

// Makes the process keep the memory a framed picture frees for the next one.
// By default glibc gives blocks of a few megabytes (a photo's bytes, its
// decoded rows) back to the system when they are freed, and the next
// picture's blocks are then faulted in afresh, page by page, which costs more
// than reading the file. Call once at start, before any thread is started.
void keepFreedMemoryForReuse();

} // namespace kadrix
