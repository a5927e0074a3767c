#pragma once

#include "picture_registry.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace kadrix::cli {

// One source of the list: its folder (ending in "/") and its file name.
struct SourceFile {
    QString folder;
    QString name;
    // With --recursive: the path of the folder below the argument folder it
    // was found in ("" or ending in "/"), which its result mirrors under --out.
    QString subFolder{};
    // How messages and JSON lines name it ("-" for standard input), "" for its path.
    QString label{};
    // Where it is read when not at path(): standard input, kept in a file
    // without a name (see standard_streams.h), named "stdin.<extension>".
    QString keptAt{};
    // Where its result's top-left corner lies in the upright picture, when
    // placed by hand (--placements); the anchor places it otherwise.
    std::optional<QPoint> placement{};
    QString path() const { return folder + name; }
    QString shown() const { return label.isEmpty() ? path() : label; }
    PictureFile picture() const {
        return keptAt.isEmpty() ? PictureFile(path()) : PictureFile(keptAt, extensionOf(name));
    }
};

struct CollectedSources {
    std::vector<SourceFile> files;
    QStringList missing;       // arguments that are neither a file nor a folder
    QString excludedReached{}; // where a walk met FolderWalk::excluded, "" when none did
};

// The extension rule of the picture loader's combined entry: the upper-cased
// description "TOUS (*.JPG;*.JPEG;...)" of the filter text ("" when the text
// has no such entry).
QString combinedExtensionFilter(const QString& filterText);

// Whether a file name passes the folder scan: its extension (from the last
// "." on, upper-cased) is not empty and occurs in the filter.
bool extensionAccepted(const QString& fileName, const QString& filter);

// Whether a folder's file is taken as a source, by its name.
using NameRule = std::function<bool(const QString& fileName)>;

// extensionAccepted() against the combined entry of the registry's filter
// text, without asking whether a type's reader is installed unless the answer
// depends on it: an extension of letters and digits occurs in the entry when
// it starts one of the types' extensions, so when the entries with all such
// types and with none of them agree, so does the actual one. Walks of one
// thread only.
NameRule pictureNameRule(const PictureRegistry& registry);

// How folders are walked.
struct FolderWalk {
    bool recursive = false; // sub-folders too
    // An absolute, clean folder path never taken as a source folder (the
    // --out folder), "" when none. A walk that meets it (through a link)
    // leaves it out and says where (CollectedSources::excludedReached).
    QString excluded;
};

// The name of the default result folder beside each source, never walked
// into: its files are results of an earlier run.
inline constexpr char DefaultResultFolder[] = "cropped";

// Where the folder `folder` lies for a walk of the source folder `source`,
// links, "." and ".." resolved by the file system (a folder not made yet by
// its nearest existing parent): Apart, the Same folder, or Inside it where a
// recursive walk enters (below a result folder is Apart: never walked).
enum class FolderPlace { Apart, Same, Inside };
FolderPlace placeOfFolder(const QString& folder, const QString& source);

// Files and folders in argument order. A file is taken as it is; a folder
// gives its accepted files, sorted by name, under their own bytes (a name
// that is not UTF-8 is kept, two names differing only in letter case are two
// sources). Recursive walks follow with
// each sub-folder in name order, depth first, leaving out result folders and
// any folder already walked (so a symbolic-link loop ends). The working
// directory is not changed.
CollectedSources collectSources(const QStringList& arguments, const NameRule& accepted,
                                const FolderWalk& walk = {});

} // namespace kadrix::cli
