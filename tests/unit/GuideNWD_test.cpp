// The help pages shipped in GuideNWD\: the start page exists and every link between pages leads
// to a page that is there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {
fs::path GuideFolder() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "GuideNWD"; }
std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(GuideNWD, StartPageAndEveryLinkedPageExist) {
  const fs::path dir = GuideFolder();
  ASSERT_TRUE(fs::exists(dir / "guidetop.htm")) << dir;
  int pages = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.path().extension() != ".htm") continue;
    ++pages;
    const std::string html = Read(e.path());
    EXPECT_NE(html.find("<meta charset=\"UTF-8\">"), std::string::npos) << e.path();
    EXPECT_NE(html.find("<title>"), std::string::npos) << e.path();
    const std::regex href("href=\"([^\"#:]+)\"");
    for (std::sregex_iterator it(html.begin(), html.end(), href), end; it != end; ++it)
      EXPECT_TRUE(fs::exists(dir / (*it)[1].str())) << e.path().filename() << " links to " << (*it)[1];
  }
  EXPECT_GE(pages, 6);
}
