// Fuzz targets for the routines that read what a user or a file hands the program: each takes any
// bytes and must return, or refuse with an EngineError, without crashing. Built once per target
// with ZESTRO_FUZZ_TARGET naming it, as a libFuzzer program (scripts/fuzz.sh); without it, a
// program that replays the seeds and every input that once crashed a target.

#include "core/engine_error.h"
#include "core/ini_format.h"
#include "core/number_format.h"
#include "core/amount_text.h"
#include "search/bar_list_text.h"
#include "store/engine/criteria.h"
#include "store/engine/jet_dialect.h"
#include "store/engine/library_json.h"

#include <QDirIterator>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QString text(QByteArrayView data)
{
    return QString::fromUtf8(data);
}

// A property every input must keep; for the fuzzer a broken one is a crash like any other.
void require(bool kept, const char *property)
{
    if (!kept) {
        std::fprintf(stderr, "broken: %s\n", property);
        std::abort();
    }
}

void jetSql(QByteArrayView data)
{
    engine::translateJetSql(text(data));
}

void criteria(QByteArrayView data)
{
    const QString t = text(data);
    try {
        for (const engine::Comparison &c : engine::parseCriteria(t))
            engine::compareMatches(QVariant(t), c);
    } catch (const EngineError &) {
        // a text it cannot read is refused
    }
}

void fraction(QByteArrayView data)
{
    fractionToDecimal(text(data));
}

// The first byte chooses the unit (any number, as a caller might pass); a '|' parts the amount
// from the description.
void amount(QByteArrayView data)
{
    if (data.isEmpty())
        return;
    const QString rest = text(data.sliced(1));
    const qsizetype bar = rest.indexOf(QLatin1Char('|'));
    composeAmountText(bar < 0 ? rest : rest.left(bar), int(qint8(data[0])), bar < 0 ? QString() : rest.mid(bar + 1));
}

// What the export writes of a list of names, the import reads back as the same names.
void barList(QByteArrayView data)
{
    const std::optional<QStringList> names = barListNames(data);
    if (!names)
        return;
    QString file;
    for (const QString &name : *names)
        file += name + QStringLiteral("\r\n");
    require(barListNames(encodeBarList(file)) == names, "a bar list written reads back the same");
}

// A library read is written and read back whole; a refusal of what was written escapes, a crash.
void libraryJson(QByteArrayView data)
{
    library::Library lib;
    try {
        lib = library::parseLibraryJson(data.toByteArray());
    } catch (const EngineError &) {
        return; // refused, with its problems listed
    }
    const library::Library back = library::parseLibraryJson(library::libraryJson(lib));
    require(back.drinks.size() == lib.drinks.size() && back.ingredients.size() == lib.ingredients.size(),
            "a library written reads back whole");
}

// A settings file read is written and read back the same, whatever a hand or a crash left in it.
void settingsIni(QByteArrayView data)
{
    const QSettings::SettingsMap map = ini::parse(data.toByteArray());
    require(ini::parse(ini::format(map)) == map, "a settings file written reads back the same");
}

struct Target {
    const char *name;
    void (*run)(QByteArrayView data);
};

const Target kTargets[] = {{"jet_sql", jetSql}, {"criteria", criteria}, {"fraction", fraction},
                           {"amount", amount},  {"bar_list", barList},  {"library_json", libraryJson},
                           {"settings_ini", settingsIni}};

} // namespace

#ifdef ZESTRO_FUZZ_TARGET

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const auto target = std::find_if(std::begin(kTargets), std::end(kTargets),
                                            [](const Target &t) { return std::strcmp(t.name, ZESTRO_FUZZ_TARGET) == 0; });
    target->run(QByteArrayView(data, qsizetype(size)));
    return 0;
}

#else

// Every file of seeds/<target>/ and regressions/<target>/ through its target. A target without
// seeds fails the run, so that a renamed folder cannot make the replay test nothing.
int main()
{
    int failures = 0;
    for (const Target &target : kTargets) {
        int replayed[2] = {0, 0};
        for (int kept = 0; kept < 2; ++kept) {
            const QString folder = QStringLiteral(ZESTRO_FUZZ_INPUTS "/%1/%2")
                                       .arg(QLatin1String(kept ? "regressions" : "seeds"), QLatin1String(target.name));
            for (QDirIterator it(folder, QDir::Files); it.hasNext();) {
                QFile file(it.next());
                if (!file.open(QIODevice::ReadOnly))
                    return std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName())), 1;
                target.run(file.readAll());
                ++replayed[kept];
            }
        }
        std::printf("%s: %d seeds, %d regressions\n", target.name, replayed[0], replayed[1]);
        failures += replayed[0] == 0;
    }
    return failures;
}

#endif
