#include "acquisition/qt/SaveWebBrowser.h"

#include "tests/support/PageLoading.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHttpServer.h"
#include "acquisition/qt/AcquisitionProfile.h"
#include "common/LineFile.h"

#include <gtest/gtest.h>

#include <QWebEnginePage>

namespace caltrix {
namespace {

using testing::LoadAndWait;
using testing::TestHttpServer;

class SaveWebBrowserTest : public ::testing::Test {
protected:
    // Serves `body` (UTF-8 markup inside <body>) and returns the saved markup.
    std::string SaveBody(const QByteArray& body, bool salvaComeTesto = true) {
        const QString target = QStringLiteral("/page%1.htm").arg(++m_pages);
        m_server.Serve(
            target,
            testing::Answer(200, "<!DOCTYPE html><html><head><title>t</title></head><body>" + body + "</body></html>",
                            "text/html; charset=utf-8"));
        // A page that builds tens of megabytes of text loads slowly on a busy
        // machine: the wait ends as soon as it has loaded.
        EXPECT_TRUE(LoadAndWait(m_page, m_server.BaseUrl().resolved(QUrl(target)), 60000));
        SaveWebBrowser(m_page, m_file, salvaComeTesto);
        return ReadWholeFile(m_file);
    }

    TestHttpServer m_server;
    QWebEnginePage m_page{AcquisitionProfile()};
    testing::TempFolder m_folder;
    std::filesystem::path m_file = m_folder / "sport1";
    int m_pages = 0;
};

TEST_F(SaveWebBrowserTest, WritesTablesInTheClassicFormWhateverTheSourceLayout) {
    const QByteArray oneCellPerLine =
        "<table>\n  <tr>\n    <td class=\"title\" colspan=\"3\">Italy - Serie A</td>\n  </tr>\n"
        "  <tr>\n    <td>\n      FT\n    </td>\n    <td>Juventus</td>\n    <td>2 - 1</td>\n  </tr>\n</table>\n";
    const QByteArray singleLine =
        "<table><tr><td class=title colspan=3>Italy - Serie A</td></tr><tr><td>FT</td><td>Juventus</td>"
        "<td>2 - 1</td></tr></table>";
    const std::string expected =
        "<table>\r\n<tbody>\r\n<tr>\r\n<td class=title colspan=3>Italy - Serie A</td></tr>\r\n<tr>\r\n"
        "<td>FT</td>\r\n<td>Juventus</td>\r\n<td>2 - 1</td></tr></tbody></table>";
    EXPECT_EQ(SaveBody(oneCellPerLine), expected);
    EXPECT_EQ(SaveBody(singleLine), expected);
}

TEST_F(SaveWebBrowserTest, WritesMarkupInWindows1252WithClassicQuotingAndSpacing) {
    const std::pair<QByteArray, std::string> cases[] = {
        // "A & B <x>", a no-break space, the euro sign (0x80 in Windows-1252), e acute, two characters
        // outside Windows-1252 (one beyond U+FFFF) and the control character for the undefined byte 0x81.
        {"<p>A &amp; B &lt;x&gt;&nbsp;\xE2\x82\xAC \xC3\xA9 \xE6\xBC\xA2 \xF0\x9F\x98\x80 \xC2\x81</p>",
         "<p>A &amp; B &lt;x&gt;&nbsp;\x80 \xE9 ? ? \x81</p>"},
        // attribute values quoted only where needed
        {"<a href=\"/x y.htm\" id=\"a-1.b_c:d\" title='say \"hi\" &amp; go' data-empty=\"\">l</a>",
         "<a href=\"/x y.htm\" id=a-1.b_c:d title=\"say &quot;hi&quot; &amp; go\" data-empty=\"\">l</a>"},
        // inline spacing and preformatted lines kept
        {"<div>\n  <b>Inter</b> <i>Milan</i>\n</div><pre>a\n b</pre><br><img src=x.png>",
         "<div><b>Inter</b> <i>Milan</i></div>\r\n<pre>a\r\n b</pre><br><img src=x.png>"},
    };
    for (const auto& [body, saved] : cases) EXPECT_EQ(SaveBody(body), saved) << body.toStdString();
}

TEST_F(SaveWebBrowserTest, ReplacesAnyFileWithTheWholeDocumentWithoutTrailingLineBreak) {
    WriteWholeFile(m_file, std::string(5000, 'x'));
    const std::string saved = SaveBody("<p>x</p>", false);
    EXPECT_EQ(saved, "<html>\r\n<head>\r\n<title>t</title></head>\r\n<body>\r\n<p>x</p></body></html>");
}

TEST_F(SaveWebBrowserTest, APageOfManyPiecesArrivesWholeAndInOrder) {
    // Numbered paragraphs over about a megabyte: several pieces of transfer,
    // with the piece boundaries falling inside paragraphs.
    QByteArray body;
    std::string expected;
    for (int i = 0; i < 60000; ++i) {
        const QByteArray paragraph = "<p>" + QByteArray::number(i) + " \xC3\xA9</p>";
        body += paragraph;
        expected += (i ? "\r\n" : "") + ("<p>" + std::to_string(i) + " \xE9</p>");
    }
    EXPECT_EQ(SaveBody(body), expected);
}

TEST_F(SaveWebBrowserTest, RefusesAPageOverTheSizeTaken) {
    try {
        SaveBody("<p id=x></p><script>x.textContent = 'x'.repeat(32 * 1024 * 1024)</script>");
        ADD_FAILURE() << "a page over 32 MiB was saved";
    } catch (const SaveError& error) {
        EXPECT_NE(std::string(error.what()).find("more than the 32 MiB"), std::string::npos) << error.what();
    }
}

TEST_F(SaveWebBrowserTest, FailsForADocumentWithoutBody) {
    m_server.Serve(QStringLiteral("/image.svg"),
                   testing::Answer(200, "<svg xmlns='http://www.w3.org/2000/svg'><rect/></svg>", "image/svg+xml"));
    ASSERT_TRUE(LoadAndWait(m_page, m_server.BaseUrl().resolved(QUrl(QStringLiteral("/image.svg")))));
    EXPECT_THROW(SaveWebBrowser(m_page, m_file, true), SaveError);
    SaveWebBrowser(m_page, m_file, false);
    EXPECT_EQ(ReadWholeFile(m_file), "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect></rect></svg>");
}

TEST_F(SaveWebBrowserTest, RefusesTheEnginesErrorPage) {
    const QUrl unreachable = m_server.BaseUrl().resolved(QUrl(QStringLiteral("/x.htm")));
    m_server.Close();
    ASSERT_FALSE(LoadAndWait(m_page, unreachable));
    EXPECT_THROW(SaveWebBrowser(m_page, m_file, true), SaveError);
}

TEST_F(SaveWebBrowserTest, FailsWhenTheFolderIsMissing) {
    ASSERT_TRUE(LoadAndWait(m_page, QUrl(QStringLiteral("about:blank"))));
    EXPECT_THROW(SaveWebBrowser(m_page, m_file / "missing" / "sport1", true), FileError);
}

}  // namespace
}  // namespace caltrix
