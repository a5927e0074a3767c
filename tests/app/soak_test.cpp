// A seeded randomized soak of the real window: at every pass of the event
// loop inside running commands (and between them) it fires random commands,
// keys and clicks, answers every prompt at random, and checks the window and
// the destination folders after every event. SOAK_EVENTS sets the number of
// events (5000 by default), SOAK_SEED the seed (1 by default); `make soak`
// runs 100000.
#include "drop_driver.h"
#include "main_window_fixture.h"
#include "window_driver.h"
#include "working_directory_guard.h"

#include "image_list_view.h"
#include "jpeg_image.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

#include <sys/stat.h>

namespace kadrix::test {
namespace {

constexpr int W = 32, H = 24;
constexpr int MaxDepth = 4;
const char* const MarkActions[] = {"ToutCocher1",
                                   "InverserCocher1",
                                   "AnnulerCocher1",
                                   "RetirerSelectiondeCocher1",
                                   "CocherUniquementSelectionnes1",
                                   "AjouterSelectionesaCocher1",
                                   "ToutSelectionner",
                                   "InverserSelection",
                                   "AnnulerSelection",
                                   "RetirerCochesdeSelection",
                                   "SelectionnerUniquementCoches1",
                                   "AjouterCochesaSelection1"};
const char* const Names[] = {"g0.bmp",  "g1.bmp",  "g2.bmp",   "j0.jpg",   "j1.jpeg",
                             "bad.bmp", "bad.jpg", "zero.bmp", "pipe.bmp", "missing.bmp"};
const char* const ErrorStarts[] = {"Image invalide", "Impossible d'ouvrir", "JPEG error",
                                   "Extension de fichier image inconnue", "Erreur de lecture"};

qint64 envNumber(const char* name, qint64 fallback) {
    const QByteArray v = qgetenv(name);
    return v.isEmpty() ? fallback : v.toLongLong();
}

class Soak : public MainWindowTest {
protected:
    WorkingDirectoryGuard cwd;
    QTemporaryDir root;
    QString folders[2];
    ImageListView* list = nullptr;
    std::mt19937 rng;
    quint64 seed = 1;
    qint64 budget = 0, events = 0, commands = 0, prompts = 0;
    int depth = 0, deepest = 0;
    size_t errorsSeen = 0;
    QStringList failures;
    QHash<QString, QPair<qint64, QDateTime>> checkedResults;
    std::atomic<qint64> progressMs{0};

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    static qint64 nowMs() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // A good, damaged or empty file of that name; the pipe is made once.
    void makeFile(const QString& folder, const QString& name) {
        const QString path = folder + u'/' + name;
        if (name.startsWith(u'g')) {
            writePicture(path, 8 + pick(60), 6 + pick(50));
        } else if (name.startsWith(u'j')) {
            Bitmap photo(10 + pick(60), 8 + pick(40));
            photo.fill(makeColour(pick(256), 90, 40));
            TJPEGImage jpeg;
            jpeg.assign(photo);
            jpeg.saveToFile(path);
        } else if (name != QLatin1String("missing.bmp") && name != QLatin1String("pipe.bmp")) {
            QFile f(path);
            if (f.open(QIODevice::WriteOnly) && !name.startsWith(u'z'))
                f.write("no picture in here\n");
        }
    }
    QString anyPath() {
        return folders[pick(2)] + u'/' + QLatin1String(Names[pick(std::size(Names))]);
    }
    void answer(const ScriptedDialogs::Box& box) {
        ++prompts;
        const int r = pick(100);
        Answer a = Answer::Ok;
        if (box.buttons == Buttons::OkCancel)
            a = r < 80 ? Answer::Ok : Answer::Cancel;
        else if (box.buttons == Buttons::YesNoCancel)
            a = r < 60 ? Answer::Yes : r < 85 ? Answer::No : Answer::Cancel;
        dialogs->answers.push_back(a);
    }

    // One random event.
    void fire() {
        ++events;
        ++depth;
        deepest = std::max(deepest, depth);
        progressMs = nowMs();
        const int kind = pick(17);
        commands += kind <= 12;
        switch (kind) {
        case 0: {
            QStringList paths;
            for (int n = pick(6); n > 0; --n)
                paths << anyPath();
            dropFiles(&window(), paths);
            break;
        }
        case 1:
            if (pick(5) > 0) // mostly the filter of every type, at times another
                dialogs->openChoices.push_back(OpenChoice{
                    anyPath(),
                    pick(4) ? 1 : 1 + pick(control<QComboBox>("ComboBoxSrcExt")->count())});
            control<QToolButton>("SpeedButtonSrcDir")->click();
            break;
        case 2:
            control<QToolButton>("SpeedButtonList")->click();
            break;
        case 3:
            trigger(MarkActions[pick(12)]);
            break;
        case 4:
            trigger("RetirerSelection");
            break;
        case 5:
            control<QToolButton>("SpeedButtonRedim")->click();
            break;
        case 6:
            trigger("RedimensionnerSelection");
            break;
        case 7:
            trigger("VoirResultat");
            break;
        case 8:
            trigger("VoirSource");
            break;
        case 9:
            control<QToolButton>("SpeedButtonStop")->click();
            break;
        case 10: {
            const char* radios[] = {"RadioSource", "RadioModedSource", "RadioResult"};
            control<QRadioButton>(radios[pick(3)])->click();
            break;
        }
        case 11:
            control<QCheckBox>("CheckBoxPasaPas")->setChecked(pick(2));
            break;
        case 12:
            jpegOptions();
            break;
        case 13:
        case 14: {
            const Qt::Key keys[] = {Qt::Key_Up,      Qt::Key_Down,  Qt::Key_Tab,
                                    Qt::Key_Backtab, Qt::Key_Space, Qt::Key_Home};
            QTest::keyClick(list, keys[pick(6)]);
            break;
        }
        case 15: {
            const Qt::KeyboardModifier mods[] = {Qt::NoModifier, Qt::ControlModifier,
                                                 Qt::ShiftModifier};
            QTest::mouseClick(list->viewport(), Qt::LeftButton, mods[pick(3)],
                              QPoint(5, 13 * pick(list->count() + 2) + 6));
            break;
        }
        default: { // a file vanishes or comes back
            const QString folder = folders[pick(2)];
            const QString name = QLatin1String(Names[pick(8)]);
            if (!QFile::remove(folder + u'/' + name))
                makeFile(folder, name);
        }
        }
        --depth;
        check();
    }

    void jpegOptions() {
        TFormOpJpeg& form = *forms.FormOpJpeg;
        form.findChild<QLineEdit*>(QStringLiteral("EditCompressionQuality"))
            ->setText(QString::number(pick(120) - 10));
        for (QCheckBox* box : form.findChildren<QCheckBox*>())
            box->setChecked(pick(2));
        for (QComboBox* box : form.findChildren<QComboBox*>())
            box->setCurrentIndex(pick(box->count()));
        form.findChild<QAbstractButton*>(QStringLiteral("BitBtnOk"))->click();
    }

    void fail(const QString& what) {
        if (failures.size() < 20)
            failures << QStringLiteral("seed %1, event %2: %3").arg(seed).arg(events).arg(what);
    }

    // What must hold after every event.
    void check() {
        progressMs = nowMs();
        const int rows = list->count();
        if (rows != window().sourceList().count())
            fail(QStringLiteral("%1 rows for %2 entries")
                     .arg(rows)
                     .arg(window().sourceList().count()));
        if (list->currentRow() < -1 || list->currentRow() >= rows)
            fail(QStringLiteral("current row %1 of %2").arg(list->currentRow()).arg(rows));
        for (const QItemSelectionRange& r : list->selectionModel()->selection())
            if (r.bottom() >= rows)
                fail(QStringLiteral("row %1 selected of %2").arg(r.bottom()).arg(rows));
        for (; errorsSeen < dialogs->errors.size(); ++errorsSeen) {
            const QString& e = dialogs->errors[errorsSeen];
            if (std::none_of(std::begin(ErrorStarts), std::end(ErrorStarts),
                             [&](const char* s) { return e.startsWith(QLatin1String(s)); }))
                fail(QStringLiteral("error box: ") + e);
        }
        for (const QString& folder : folders)
            checkResults(folder + QStringLiteral("/cropped"));
    }

    // Every file in a destination is a whole W x H result; a changed file is
    // read again.
    void checkResults(const QString& folder) {
        for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
            const QPair<qint64, QDateTime> stamp(f.size(), f.lastModified());
            if (checkedResults.value(f.filePath()) == stamp)
                continue;
            checkedResults.insert(f.filePath(), stamp);
            QFile file(f.filePath());
            file.open(QIODevice::ReadOnly);
            const QByteArray bytes = file.readAll();
            bool whole = false;
            if (f.suffix() == QLatin1String("BMP")) {
                whole = bytes.size() == 54 + ((W * 3 + 3) & ~3) * H &&
                        QImage::fromData(bytes, "BMP").size() == QSize(W, H);
            } else if (f.suffix() == QLatin1String("JPEG") && bytes.endsWith("\xFF\xD9")) {
                TJPEGImage jpeg;
                jpeg.loadFromFile(f.filePath());
                whole = jpeg.width() == W && jpeg.height() == H;
            }
            if (!whole)
                fail(QStringLiteral("not a whole result: ") + f.fileName());
        }
    }
};

TEST_F(Soak, RandomCommandsInsideRunningLoopsKeepTheWindowWhole) {
    seed = quint64(envNumber("SOAK_SEED", 1));
    budget = envNumber("SOAK_EVENTS", 5000);
    rng.seed(std::uint32_t(seed));
    for (int i = 0; i < 2; ++i) {
        folders[i] = root.filePath(QStringLiteral("f%1").arg(i));
        ASSERT_TRUE(QDir().mkpath(folders[i] + QStringLiteral("/cropped/cropped_g2.BMP")));
        ASSERT_EQ(::mkfifo(QFile::encodeName(folders[i] + QStringLiteral("/pipe.bmp")), 0600), 0);
        for (const char* name : Names)
            makeFile(folders[i], QLatin1String(name));
    }
    QDir::setCurrent(folders[0]);
    list = control<ImageListView>("ListBox1");
    control<QLineEdit>("EditW")->setText(QString::number(W));
    control<QLineEdit>("EditH")->setText(QString::number(H));
    dialogs->onMessageBox = [this](const ScriptedDialogs::Box& box) { answer(box); };
    window().show();

    // A step that takes over ten seconds is a hang: report it and stop.
    std::atomic<bool> done{false};
    progressMs = nowMs();
    std::thread watchdog([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (nowMs() - progressMs > 10000) {
                std::fprintf(stderr, "soak: hang, seed %llu, event %lld\n",
                             static_cast<unsigned long long>(seed), static_cast<long long>(events));
                std::abort();
            }
        }
    });
    // One timer per nesting level: a timer does not fire again inside its
    // own handler, so a level's command can run inside the one below.
    std::vector<std::unique_ptr<QTimer>> levels;
    for (int level = 1; level < MaxDepth; ++level) {
        levels.push_back(std::make_unique<QTimer>());
        QObject::connect(levels.back().get(), &QTimer::timeout, [this] {
            if (depth > 0 && depth < MaxDepth && events < budget && pick(3) == 0)
                fire();
        });
        levels.back()->start(0);
    }
    while (events < budget)
        fire();
    levels.clear();
    done = true;
    watchdog.join();
    window().hide();

    std::printf("soak: seed %llu, events run %lld, commands started %lld, prompts answered %lld, "
                "nested depth reached %d, failures %lld\n",
                static_cast<unsigned long long>(seed), static_cast<long long>(events),
                static_cast<long long>(commands), static_cast<long long>(prompts), deepest,
                static_cast<long long>(failures.size()));
    for (const QString& f : failures)
        ADD_FAILURE() << f.toStdString();
}

} // namespace
} // namespace kadrix::test
