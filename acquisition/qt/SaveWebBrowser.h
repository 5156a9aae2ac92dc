// Saving a browser's document as markup in the classic form that the
// live-score parser reads line by line.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

class QWebEnginePage;

namespace caltrix {

// The page could not be serialised: no document, the engine's error page in
// place of the site's, a page over the size taken, a renderer that did not
// answer in time or that died.
class SaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The page's document markup: the body's inner markup when `salvaComeTesto`
// is true, the document element's outer markup when false. The markup is
// Windows-1252 with CR LF line ends, a line break before every block element
// (table rows and cells included), no whitespace-only text between them and
// no line break added at the end. Window events are processed while the
// renderer serialises and between the pieces in which the markup arrives, so
// the user interface never waits for a whole large page. Throws SaveError.
std::string DocumentMarkup(QWebEnginePage& browser, bool salvaComeTesto);

// Writes DocumentMarkup to `nomeFile`, created anew. Throws SaveError or FileError.
void SaveWebBrowser(QWebEnginePage& browser, const std::filesystem::path& nomeFile, bool salvaComeTesto);

}  // namespace caltrix
