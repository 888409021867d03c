// zestro-build-library: writes a drink library file.
//   --library FILE   import a JSON library (see resources/library/README.md)
//   --synthetic N    a generated library of N drinks (deterministic from --seed, default 1)
//   --old-format     the older layout without the Has field of Ingredients
//   --out FILE       the file to write (replaced if it exists)

#include "core/engine_error.h"
#include "store/engine/library_builder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a Zestro drink library file."));
    parser.addHelpOption();
    const QCommandLineOption libraryOption(QStringLiteral("library"), QStringLiteral("JSON library to import."), QStringLiteral("file"));
    const QCommandLineOption syntheticOption(QStringLiteral("synthetic"), QStringLiteral("Generate N drinks."), QStringLiteral("n"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the generated library."), QStringLiteral("seed"), QStringLiteral("1"));
    const QCommandLineOption oldOption(QStringLiteral("old-format"), QStringLiteral("Write the layout without the Has field."));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("File to write."), QStringLiteral("file"));
    parser.addOptions({libraryOption, syntheticOption, seedOption, oldOption, outOption});
    parser.process(app);

    if (!parser.isSet(outOption) || parser.isSet(libraryOption) == parser.isSet(syntheticOption)) {
        std::fprintf(stderr, "Give --out and exactly one of --library or --synthetic.\n");
        return 2;
    }
    try {
        library::Library lib;
        if (parser.isSet(libraryOption)) {
            lib = library::readLibraryJson(parser.value(libraryOption));
        } else {
            bool ok = false;
            const int n = parser.value(syntheticOption).toInt(&ok);
            if (!ok || n < 0 || n > 32000) {
                std::fprintf(stderr, "--synthetic takes a number of drinks from 0 to 32000.\n");
                return 2;
            }
            lib = library::syntheticLibrary(n, parser.value(seedOption).toUInt());
        }
        library::writeLibrary(parser.value(outOption), lib,
                              parser.isSet(oldOption) ? library::Layout::WithoutHas : library::Layout::Current);
        std::printf("Wrote %s: %lld drinks, %lld ingredients", qPrintable(parser.value(outOption)),
                    qlonglong(lib.drinks.size()), qlonglong(lib.ingredients.size()));
        // Spellings of one ingredient, written as the first of them.
        if (lib.mergedSpellings > 0)
            std::printf(" (%d other spelling%s merged)", lib.mergedSpellings, lib.mergedSpellings == 1 ? "" : "s");
        std::printf(".\n");
    } catch (const EngineError &e) {
        std::fprintf(stderr, "Error %d: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}
