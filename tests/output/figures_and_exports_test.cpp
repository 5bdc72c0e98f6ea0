#include <QTest>
#include <string>

#include "engine/variant_count.h"
#include "output/export.h"
#include "output/text_figures.h"
#include "tests/common/test_files.h"
#include "tests/support/qt_test_main.h"

using korvex::ui::ExportKind;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(korvex::engine::VariantCount)

namespace {

/// The twelve lines of an HTML export with `charset`, `title` and `body`.
std::string page(const std::string& charset, const std::string& title, const std::string& body) {
    return "<html>\r\n<head>\r\n"
           "<meta name=viewport content='width=device-width, initial-scale=1'>\r\n"
           "<meta http-equiv='Content-Type' content='text/html; charset=" +
           charset + "'>\r\n<title>\r\n" + title + "\r\n</title>\r\n</head>\r\n<body>\r\n" + body +
           "\r\n</body>\r\n</html>\r\n";
}

korvex::engine::VariantCount power(std::uint32_t factor, int times) {
    korvex::engine::VariantCount count;
    for (int i = 0; i < times; ++i) {
        count.multiplyBy(factor);
    }
    return count;
}

}  // namespace

class FiguresAndExportsTest : public QObject {
    Q_OBJECT
private slots:
    void textFigures_data() {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<qulonglong>("characters");
        QTest::addColumn<qulonglong>("words");
        QTest::newRow("empty") << std::string() << 0ull << 0ull;
        QTest::newRow("one word") << std::string("word") << 4ull << 1ull;
        QTest::newRow("two words") << std::string("a b") << 3ull << 2ull;
        QTest::newRow("two spaces make an empty word") << std::string("a  b") << 4ull << 3ull;
        QTest::newRow("lines do not split") << std::string("a\r\nb") << 4ull << 1ull;
        QTest::newRow("a lone space") << std::string(" ") << 1ull << 2ull;
        QTest::newRow("code points, not bytes")
            << std::string("\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80") << 5ull << 2ull;
        // A 16-bit count would wrap here; the words stay exact.
        QTest::newRow("beyond 32767 pieces") << std::string(40000, ' ') << 40000ull << 40001ull;
    }
    void textFigures() {
        QFETCH(std::string, text);
        QFETCH(qulonglong, characters);
        QFETCH(qulonglong, words);
        QCOMPARE(qulonglong(korvex::ui::characterCount(text)), characters);
        QCOMPARE(qulonglong(korvex::ui::wordCount(text)), words);
    }

    void variantCountText_data() {
        QTest::addColumn<korvex::engine::VariantCount>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("no blocks") << korvex::engine::VariantCount() << "1";
        QTest::newRow("18 digits whole") << power(10, 17) << "100000000000000000";
        QTest::newRow("19 digits about") << power(10, 18) << "about 1.00e+18";
        QTest::newRow("50,000 blocks of 4") << power(4, 50000) << "about 9.99e+30102";
    }
    void variantCountText() {
        QFETCH(korvex::engine::VariantCount, count);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(korvex::ui::variantCountText(count)), text);
    }

    void statisticsLines() {
        QCOMPARE(korvex::ui::statisticsText("3", "2", "0", "about 1.00e+30102"),
                 std::string("N. Char.   : 3\r\nN. Words   : 2\r\nN. Items   : 0\r\n"
                             "N. Variants: about 1.00e+30102\r\n"));
    }

    void exportBytes_data() {
        QTest::addColumn<std::string>("title");
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::string>("html");
        QTest::addColumn<std::string>("textFile");
        const std::string w = "windows-1252";
        QTest::newRow("empty") << std::string("T") << std::string() << page(w, "T", "")
                               << std::string("\r\n");
        QTest::newRow("two lines") << std::string("T") << std::string("one\r\ntwo")
                                   << page(w, "T", "one<br />two") << std::string("one\r\ntwo\r\n");
        QTest::newRow("lone CR and LF")
            << std::string("T") << std::string("a\rb\nc\r\n\rd")
            << page(w, "T", "a<br />b<br />c<br /><br />d") << std::string("a\rb\nc\r\n\rd\r\n");
        QTest::newRow("trailing CR LF") << std::string("T") << std::string("end\r\n")
                                        << page(w, "T", "end<br />") << std::string("end\r\n\r\n");
        QTest::newRow("a tag is not escaped")
            << std::string("<i>T</i>") << std::string("<b>bold</b> & more")
            << page(w, "<i>T</i>", "<b>bold</b> & more") << std::string("<b>bold</b> & more\r\n");
        QTest::newRow("windows-1252 bytes")
            << std::string("Caf\xC3\xA9") << std::string("\xE2\x82\xAC 5")
            << page(w, "Caf\xE9", "\x80 5") << std::string("\x80 5\r\n");
        // U+0101 has no windows-1252 byte: the page is UTF-8 and says so.
        QTest::newRow("beyond windows-1252")
            << std::string("T") << std::string("\xC4\x81 and \xC3\xA9")
            << page("UTF-8", "T", "\xC4\x81 and \xC3\xA9")
            << std::string("\xC4\x81 and \xC3\xA9\r\n");
        // "É’" in windows-1252 is C9 92, which reads back as UTF-8: written as UTF-8 instead.
        QTest::newRow("bytes that would read as UTF-8")
            << std::string("T") << std::string("\xC3\x89\xE2\x80\x99")
            << page("UTF-8", "T", "\xC3\x89\xE2\x80\x99")
            << std::string("\xC3\x89\xE2\x80\x99\r\n");
    }
    void exportBytes() {
        QFETCH(std::string, title);
        QFETCH(std::string, text);
        QFETCH(std::string, html);
        QFETCH(std::string, textFile);
        QCOMPARE(korvex::ui::exportBytes(ExportKind::HtmlCode, title, text).bytes, html);
        QCOMPARE(korvex::ui::exportBytes(ExportKind::WebPage, title, text).bytes, html);
        QCOMPARE(korvex::ui::exportBytes(ExportKind::TextFile, title, text).bytes, textFile);
    }

    void exportFileNames_data() {
        QTest::addColumn<std::string>("title");
        QTest::addColumn<QStringList>("names");  // HTML code, web page, text file
        QTest::newRow("plain") << std::string("Letter")
                               << QStringList{"Letter_html.txt", "Letter.html", "Letter.txt"};
        QTest::newRow("climbing out")
            << std::string("..\\..\\Projects\\Letter")
            << QStringList{"....ProjectsLetter_html.txt", "....ProjectsLetter.html",
                           "....ProjectsLetter.txt"};
        QTest::newRow("slashes and a drive")
            << std::string("C:/tmp/x") << QStringList{"Ctmpx_html.txt", "Ctmpx.html", "Ctmpx.txt"};
        QTest::newRow("nothing left")
            << std::string("<>:\\/|*?\"")
            << QStringList{"Untitled_html.txt", "Untitled.html", "Untitled.txt"};
        QTest::newRow("empty") << std::string()
                               << QStringList{"Untitled_html.txt", "Untitled.html", "Untitled.txt"};
    }
    void exportFileNames() {
        QFETCH(std::string, title);
        QFETCH(QStringList, names);
        const ExportKind kinds[] = {ExportKind::HtmlCode, ExportKind::WebPage,
                                    ExportKind::TextFile};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(QString::fromStdString(korvex::ui::exportFileName(kinds[i], title)),
                     names.at(i));
        }
    }

    void exportWritesIntoExportedAndReplaces() {
        korvex::testing::TempFolder folder;
        std::filesystem::create_directory(folder.path() / "Exported");
        const korvex::store::AppFolder app(folder.path());
        std::filesystem::path written;
        QVERIFY(korvex::ui::writeExport(app, ExportKind::TextFile, "../T", "first", &written));
        QVERIFY(korvex::ui::writeExport(app, ExportKind::TextFile, "../T", "second", &written));
        QCOMPARE(written, folder.path() / "Exported" / "..T.txt");
        QCOMPARE(korvex::testing::readBytes(written), std::string("second\r\n"));
    }
};

KORVEX_QTEST(FiguresAndExportsTest)
#include "figures_and_exports_test.moc"
