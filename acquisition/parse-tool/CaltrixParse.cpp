// caltrix-parse: parses a saved live-score page into the combined and slot
// result files, with the same code as the program's update cycle.
#include "acquisition/CercaNotizie.h"

#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr std::string_view kUsage =
    "Usage: caltrix-parse PAGE --out DIR [--slot K=SELECTION]...\n"
    "\n"
    "Parses the saved live-score page PAGE and writes the combined file\n"
    "video<N>.txt and the slot files lmVideo1.txt..lmVideo11.txt in DIR.\n"
    "PAGE itself is left alone: the parse runs on a copy, which it deletes.\n"
    "\n"
    "  --out DIR             folder for the result files (must exist)\n"
    "  --slot K=SELECTION    selection string of slot K (1..11), e.g. --slot 1='SERIEA;'\n"
    "                        fragments end with \";\"; slots not given select nothing\n"
    "  --help                show this text\n"
    "\n"
    "Exit status: 0 on success, 1 when the parse fails, 2 on a usage error.\n";

struct Options {
    std::filesystem::path page;
    std::filesystem::path out;
    std::array<std::string, caltrix::kSlotCount> selections;
};

struct UsageError {
    std::string message;
};

void SetSlot(std::string_view argument, Options& options) {
    const auto equals = argument.find('=');
    if (equals == std::string_view::npos) throw UsageError{"--slot needs K=SELECTION, got: " + std::string(argument)};
    const std::string number(argument.substr(0, equals));
    char* end = nullptr;
    const long slot = std::strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0' || slot < 1 || slot > caltrix::kSlotCount) {
        throw UsageError{"slot number must be 1..11, got: " + number};
    }
    options.selections[slot - 1] = std::string(argument.substr(equals + 1));
}

// Nothing when --help was asked for.
std::optional<Options> ParseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const auto value = [&]() -> std::string_view {
            if (i + 1 >= argc) throw UsageError{std::string(argument) + " needs a value"};
            return argv[++i];
        };
        if (argument == "--help" || argument == "-h") return std::nullopt;
        if (argument == "--out") {
            options.out = value();
        } else if (argument == "--slot") {
            SetSlot(value(), options);
        } else if (argument.starts_with("-")) {
            throw UsageError{"unknown option: " + std::string(argument)};
        } else if (options.page.empty()) {
            options.page = argument;
        } else {
            throw UsageError{"only one PAGE may be given"};
        }
    }
    if (options.page.empty()) throw UsageError{"no PAGE given"};
    if (options.out.empty()) throw UsageError{"no --out DIR given"};
    if (!std::filesystem::is_directory(options.out)) throw UsageError{"--out is not a folder: " + options.out.string()};
    if (!caltrix::EsisteFile(options.page)) throw UsageError{"cannot read PAGE: " + options.page.string()};
    return options;
}

// A private name for the page, since the parse deletes the page it reads: a
// second link to the same file where the file system allows, else a copy.
std::filesystem::path CopyOfPage(const std::filesystem::path& page) {
    const auto copy =
        std::filesystem::temp_directory_path() / ("caltrix-parse-" + std::to_string(::getpid()) + "-sport1");
    std::error_code error;
    std::filesystem::remove(copy, error);
    std::filesystem::create_hard_link(page, copy, error);
    if (error) std::filesystem::copy_file(page, copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
}

int Run(const Options& options) {
    const auto copy = CopyOfPage(options.page);
    try {
        caltrix::TitleList titles;
        const auto report = caltrix::CercaNotizie(copy, titles, options.selections, options.out);
        std::cout << "combined file: " << report.combinedFile.string() << '\n'
                  << "competitions: " << report.competitions << '\n'
                  << "matches: " << report.matches << '\n'
                  << "titles: " << titles.size() << '\n';
        return EXIT_SUCCESS;
    } catch (const std::exception&) {
        std::error_code ignored;
        std::filesystem::remove(copy, ignored);
        throw;
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const auto options = ParseArguments(argc, argv);
        if (!options) {
            std::cout << kUsage;
            return EXIT_SUCCESS;
        }
        return Run(*options);
    } catch (const UsageError& error) {
        std::cerr << "caltrix-parse: " << error.message << "\n\n" << kUsage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "caltrix-parse: parse failed: " << error.what() << '\n';
        return EXIT_FAILURE;
    }
}
