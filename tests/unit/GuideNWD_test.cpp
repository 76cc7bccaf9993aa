// The help pages shipped in GuideNWD\: every page is reached from the start page, every link and
// anchor leads somewhere, menu items read as the user sees them, and every window names a page
// (F1) that is there.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {
// The source tree, given by the build: __FILE__ may be relative to the build folder.
const fs::path kSourceRoot = NW_SOURCE_DIR;
fs::path GuideFolder() { return kSourceRoot / "GuideNWD"; }
std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
std::set<std::string> Matches(const std::string& text, const std::regex& re) {
  std::set<std::string> out;
  for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) out.insert((*it)[1].str());
  return out;
}
}  // namespace

TEST(GuideNWD, StartPageAndEveryLinkedPageExist) {
  const fs::path dir = GuideFolder();
  ASSERT_TRUE(fs::exists(dir / "guidetop.htm")) << dir;
  std::map<std::string, std::string> pages;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".htm") pages[e.path().filename().string()] = Read(e.path());

  // Walk the links from the start page; a link may name an anchor in its page ("util.htm#timer")
  // or in the same page ("#timer").
  const std::regex href("href=\"([^\"]*)\""), id("id=\"([^\"]+)\"");
  std::set<std::string> reached{"guidetop.htm"};
  std::deque<std::string> todo{"guidetop.htm"};
  while (!todo.empty()) {
    const std::string page = todo.front();
    todo.pop_front();
    for (const std::string& link : Matches(pages[page], href)) {
      const size_t hash = link.find('#');
      const std::string file = hash == std::string::npos ? link : link.substr(0, hash);
      const std::string target = file.empty() ? page : file;
      if (!fs::exists(dir / target)) {
        ADD_FAILURE() << page << " links to " << link << ", which is not there";
        continue;
      }
      if (hash != std::string::npos) {
        EXPECT_TRUE(Matches(pages[target], id).count(link.substr(hash + 1))) << page << " links to " << link;
      }
      if (fs::path(target).extension() == ".htm" && reached.insert(target).second) todo.push_back(target);
    }
  }

  for (const auto& [name, html] : pages) {
    EXPECT_TRUE(reached.count(name)) << name << " is not reached from guidetop.htm";
    EXPECT_NE(html.find("<meta charset=\"UTF-8\">"), std::string::npos) << name;
    EXPECT_NE(html.find("<title>"), std::string::npos) << name;
    // A menu item reads "閉じる(X)" on the screen, never with the "&" of its resource text.
    EXPECT_EQ(html.find("(&"), std::string::npos) << name << " writes a mnemonic with its \"&\"";
  }
  EXPECT_GE(pages.size(), 14u);
}

TEST(GuideNWD, EveryWindowNamesAHelpPageThatIsThere) {
  // A window is a form created with Create(...) or a window class of its own; the file that makes
  // it names the page F1 opens ("util.htm").
  const std::regex makesWindow(R"(RegisterWindowClassOnce\(|RegisterClassExW\(|[^:>.\w]Create\(\{|[^:>.\w]Create\(o\))");
  const std::regex page(R"(([A-Za-z0-9_]+\.htm)\")");
  int windows = 0;
  for (const auto& e : fs::recursive_directory_iterator(kSourceRoot / "src")) {
    const fs::path& p = e.path();
    // Windows live in the subsystems' win32 folders; the form kit's own folder makes none itself.
    const bool windowLayer = p.parent_path().filename() == "win32" && p.parent_path().parent_path().filename() != "classlib";
    if (p.extension() != ".cpp" || !windowLayer) continue;
    const std::string code = Read(p);
    const std::set<std::string> named = Matches(code, page);
    if (std::regex_search(code, makesWindow)) {
      ++windows;
      EXPECT_FALSE(named.empty()) << p.filename() << " makes a window without naming its help page";
    }
    for (const std::string& name : named)
      EXPECT_TRUE(fs::exists(GuideFolder() / name)) << p.filename() << " names " << name << ", which is not there";
  }
  EXPECT_GE(windows, 11);  // main, compact, notice, about, three settings dialogs, four history windows
}
