#include "common_dialogs.h"

#include "dialog_service.h"

namespace kadrix {

bool TOpenDialog::Execute() {
    const std::optional<OpenChoice> choice = dialogs().openPicture(Filter, FilterIndex);
    if (!choice)
        return false;
    FileName = choice->path;
    FilterIndex = choice->filterIndex;
    return true;
}

bool TColorDialog::Execute() {
    const std::optional<Colour> chosen = dialogs().chooseColour(Color);
    if (!chosen)
        return false;
    Color = *chosen;
    return true;
}

} // namespace kadrix
