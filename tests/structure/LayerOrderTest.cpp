// The source tree reads as its layers: Util, Model, Core, Engine, UI, then the two programs.
// Dependencies point down only, widgets stay in the interface, and Core draws nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSourceDir = VOXFAB_SOURCE_DIR;
const fs::path kWidgetHeaderDir = VOXFAB_QT_WIDGETS_INCLUDE_DIR;

struct Include {
    fs::path file;
    int line;
    std::string target; // as written between the quotes or angle brackets
};

std::vector<fs::path> sourcesOf(const std::string &layer)
{
    std::vector<fs::path> files;
    for (const auto &entry : fs::recursive_directory_iterator(kSourceDir / layer)) {
        const auto extension = entry.path().extension();
        if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp"))
            files.push_back(entry.path());
    }
    return files;
}

std::vector<Include> includesOf(const std::string &layer)
{
    static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
    std::vector<Include> found;
    for (const auto &file : sourcesOf(layer)) {
        std::ifstream in(file);
        std::string text;
        std::smatch match;
        for (int line = 1; std::getline(in, text); ++line)
            if (std::regex_search(text, match, include))
                found.push_back({file, line, match[1]});
    }
    return found;
}

std::string where(const Include &include)
{
    return fs::relative(include.file, kSourceDir).string() + ":" + std::to_string(include.line) + " includes " +
           include.target;
}

const std::vector<std::string> kLayersBottomUp = {"Util", "Model", "Core", "Engine", "UI"};

} // namespace

TEST(LayerOrder, NoLayerIncludesALayerAboveIt)
{
    ASSERT_TRUE(fs::is_directory(kSourceDir / "Util")) << kSourceDir;
    for (size_t layer = 0; layer < kLayersBottomUp.size(); ++layer) {
        const std::set<std::string> above(kLayersBottomUp.begin() + long(layer) + 1, kLayersBottomUp.end());
        for (const auto &include : includesOf(kLayersBottomUp[layer])) {
            const std::string top = include.target.substr(0, include.target.find('/'));
            EXPECT_EQ(above.count(top), 0u) << where(include);
        }
    }
}

TEST(LayerOrder, WidgetsStayInTheInterface)
{
    ASSERT_TRUE(fs::exists(kWidgetHeaderDir / "QWidget")) << kWidgetHeaderDir;
    for (const std::string layer : {"Util", "Model", "Core", "Engine", "batch"})
        for (const auto &include : includesOf(layer)) {
            const fs::path name = fs::path(include.target).filename();
            const bool widget = include.target.rfind("QtWidgets", 0) == 0 ||
                                (include.target.front() == 'Q' && fs::exists(kWidgetHeaderDir / name));
            EXPECT_FALSE(widget) << where(include);
        }
}

TEST(LayerOrder, CoreIssuesNoOpenGLCall)
{
    static const std::regex glCall(R"(\b(gl|glu)[A-Z]\w*\s*\()");
    for (const auto &include : includesOf("Core")) {
        EXPECT_NE(include.target.rfind("GL/", 0), 0u) << where(include);
        EXPECT_NE(include.target.rfind("QOpenGL", 0), 0u) << where(include);
    }
    for (const auto &file : sourcesOf("Core")) {
        std::ifstream in(file);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line)
            EXPECT_FALSE(std::regex_search(text, glCall)) << fs::relative(file, kSourceDir).string() << ":" << line;
    }
}
