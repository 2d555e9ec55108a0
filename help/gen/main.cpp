// Builds the sources of the help file: the hand-written pages, converted to the help file's code
// page, and the pages made from the unit tables the program converts with, so that the help
// always lists exactly the units the program offers.
//
//     mervel_helpgen <output folder> <hand-written file>...
#include "cp1251.h"
#include "pages.h"
#include "project.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, std::string_view utf8) {
    const std::optional<std::string> bytes = helpgen::toWindows1251(utf8);
    if (!bytes) {
        throw std::runtime_error(path.filename().string() + " would not be valid UTF-8");
    }
    std::ofstream out(path, std::ios::binary);
    out << *bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// A hand-written page: its title goes to the contents, its declared code page is the one it is
// written out in.
helpgen::Page handWritten(const fs::path& path) {
    std::string html = readFile(path);
    const std::string utf8 = "charset=utf-8";
    if (const auto at = html.find(utf8); at != std::string::npos) {
        html.replace(at, utf8.size(), "charset=windows-1251");
    }
    std::string title;
    const auto open = html.find("<title>");
    const auto close = html.find("</title>");
    if (open != std::string::npos && close != std::string::npos && open < close) {
        title = html.substr(open + 7, close - open - 7);
    }
    return {path.filename().string(), title, html, {}};
}

void writePages(const fs::path& folder, const std::vector<helpgen::Page>& pages,
                std::vector<std::string>& files) {
    for (const helpgen::Page& page : pages) {
        writeFile(folder / page.file, page.html);
        files.push_back(page.file);
        writePages(folder, page.children, files);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: mervel_helpgen <output folder> <hand-written file>...\n", stderr);
        return 2;
    }
    try {
        const fs::path folder = argv[1];
        fs::create_directories(folder);
        std::vector<helpgen::Page> topics;  // in the contents, in this order
        std::vector<std::string> files;     // everything else the pages use
        for (int i = 2; i < argc; ++i) {
            const fs::path path = argv[i];
            if (path.extension() == ".html") {
                topics.push_back(handWritten(path));
            } else {
                writeFile(folder / path.filename(), readFile(path));
                files.push_back(path.filename().string());
            }
        }
        topics.push_back(helpgen::categoriesPage());
        writePages(folder, topics, files);
        writeFile(folder / "Mervel.hhc", helpgen::contentsFile(topics));
        writeFile(folder / "Mervel.hhk", helpgen::indexFile());
        writeFile(folder / "Mervel.hhp", helpgen::projectFile(files));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mervel_helpgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
