#pragma once

namespace kadrix {

// Registers every picture type (HEIF, the platform's, then JPEG) before any window
// exists; unregisters the JPEG type when destroyed.
class PictureTypes {
public:
    PictureTypes();
    ~PictureTypes();
    PictureTypes(const PictureTypes&) = delete;
    PictureTypes& operator=(const PictureTypes&) = delete;
};

} // namespace kadrix
