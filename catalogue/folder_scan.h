#pragma once

#include "directory_walk.h"
#include "source_list.h"

#include <QSet>
#include <QString>

#include <optional>

namespace kadrix {

// The extension of a file name in upper case: the text from its last "." to
// the end, "" when the name has none.
QString upperExtension(const QString& name);

// Whether a scan lists a file: its extension is not empty and occurs anywhere
// in the filter text (already upper-cased). Plain containment, so "BITMAPS
// (*.BMP)" takes .bmp, .BM and .B alike, but not .BMPX.
bool extensionAccepted(const QString& name, const QString& extensionFilter);

// "Nombre d'Images Trouvées: n", the running count of a scan.
QString foundCountText(int count);

// Fills a SourceList during a scan: keeps out names already listed (letter
// case ignored, the first one listed stays) and remembers the rows of the
// smallest and the largest file, ties going to the one listed last. The list
// is emptied at the start and stays empty while the scan lets other commands
// run: the files found are gathered aside and go into the list in one step at
// the end, so the list and the image list's rows always agree.
class ScanTally {
public:
    explicit ScanTally(SourceList& list); // empties the list

    // The folder the files gathered lie in; the list takes it with them.
    void setFolder(const QString& folder) { found_.setListing({folder, false}); }
    // Gathers the file unless its name is already listed; true when added.
    bool add(const QString& name, qint64 size);
    // Puts the files gathered into the list, unless another command has
    // changed it meanwhile.
    void finish();

    int count() const { return found_.count(); }
    // False once another command has changed the list (a drop, a second
    // scan) while this scan let messages through.
    bool intact() const { return list_.revision() == revision_; }
    int smallestRow() const { return smallestRow_; } // -1 while nothing is listed
    int largestRow() const { return largestRow_; }

private:
    SourceList& list_;
    SourceList found_;
    QSet<QString> folded_; // the case-folded names listed so far
    quint64 revision_ = 0; // the list's revision after this tally's last change
    int smallestRow_ = -1;
    int largestRow_ = -1;
    qint64 smallest_ = 0;
    qint64 largest_ = 0;
};

// What a running scan tells the window and asks of it.
class ScanWindow {
public:
    virtual ~ScanWindow() = default;
    // Shows the number of files listed so far.
    virtual void setFoundCountText(const QString& text) = 0;
    // Lets the window repaint and other commands run (Stop among them).
    virtual void processScanMessages() = 0;
    virtual bool stopRequested() const = 0;
    virtual void setStopRequested(bool on) = 0;
};

struct ScanResult {
    bool found = false;    // at least one file is listed
    bool replaced = false; // another command changed the list: it stands as that one left it
    int smallestRow = -1;
    int largestRow = -1;
};

// Lists the accepted files of a walk into the tally, and finishes it. After
// every entry the window processes its messages; a requested stop ends the
// walk there, and so does a change of the list by the command that ran
// meanwhile.
void scanEntries(DirectoryWalk& walk, const QString& extensionFilter, ScanTally& tally,
                 ScanWindow& window);

// Makes the folder part of `folderText` the current working directory and
// lists its accepted files into `list` (emptied first), which records that
// folder as an absolute path. An empty folder part scans the current working
// directory as it is. A folder that cannot be made current gives an empty
// list; the working directory then stays where it was.
ScanResult scanFolder(const QString& folderText, const QString& extensionFilter, SourceList& list,
                      ScanWindow& window);

} // namespace kadrix
