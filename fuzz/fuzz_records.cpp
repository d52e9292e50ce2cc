// libFuzzer target: any bytes as "Learners.dat" and "Score.dat", read the way the
// program reads them. Beyond not crashing, a file that loads must survive a save and a
// reload unchanged, or the program would overwrite the user's records with less.
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {

// In memory where there is /dev/shm: every save syncs its file to disk.
const QString kFolder = QStringLiteral("%1/fretlore-fuzz-%2")
                            .arg(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                         : QDir::tempPath())
                            .arg(getpid());

void WriteInput(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort();
}

template <typename Store, typename Same>
void LoadSaveReload(const QString& name, const uint8_t* data, size_t size, Same same)
{
    const QString input = kFolder + QStringLiteral("/in-") + name;
    const QString output = kFolder + QStringLiteral("/out-") + name;
    WriteInput(input, data, size);
    Store store(input);
    QString message;
    if (!store.GetDataFromFile(message)) {
        if (message.isEmpty() || store.Count() != 0 || store.SetDataToFile(message))
            std::abort(); // a failed load must say why, hold nothing and refuse to save
        return;
    }
    QFile::remove(output);
    Store copy(output);
    if (!copy.GetDataFromFile(message))
        std::abort();
    for (const auto& item : store)
        copy.Add(item);
    if (!copy.SetDataToFile(message))
        std::abort();
    Store reread(output);
    if (!reread.GetDataFromFile(message) || reread.Count() != store.Count())
        std::abort();
    for (int i = 1; i <= store.Count(); ++i)
        if (!same(store.Item(i), reread.Item(i)))
            std::abort();
}

} // namespace

class FuzzLearnerItems : public LearnerItems {
public:
    using LearnerItems::LearnerItems;
    void Add(const LearnerItem& item) { LearnerItems::Add(item.intKey, item.strName); }
};

class FuzzDbaseItems : public DbaseItems {
public:
    using DbaseItems::DbaseItems;
    void Add(const DbaseItem& item) { DbaseItems::Add(item.intKey, item.intLearnerKey, item.intLessonKey, item.fltValue); }
};

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!QDir().mkpath(kFolder))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadSaveReload<FuzzLearnerItems>(QStringLiteral("Learners.dat"), data, size,
                                     [](const LearnerItem& a, const LearnerItem& b) {
                                         // Quotes are dropped on saving, by design.
                                         return a.intKey == b.intKey && EscapeValue(a.strName) == b.strName;
                                     });
    LoadSaveReload<FuzzDbaseItems>(QStringLiteral("Score.dat"), data, size, [](const DbaseItem& a, const DbaseItem& b) {
        return a.intKey == b.intKey && a.intLearnerKey == b.intLearnerKey && a.intLessonKey == b.intLessonKey
            && a.fltValue == b.fltValue;
    });
    return 0;
}
