#include "source_list.h"

namespace kadrix {

int SourceList::indexOf(const QString& name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace kadrix
