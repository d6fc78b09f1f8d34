// The help document beside the programs: every picture it shows is there, every link inside it
// leads to an anchor it has, and it is the committed one.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace mirasketch {
namespace {

TEST(HelpDocument, PicturesAndLinksAreThereBesideTheTool) {
  const std::filesystem::path folder(MIRASKETCH_CLI_DIR);
  const std::vector<std::uint8_t> bytes = test::ReadAll((folder / "korvel.html").string());
  ASSERT_FALSE(bytes.empty());
  EXPECT_TRUE(bytes == test::ReadAll(MIRASKETCH_HELP_PAGE)) << "build again to refresh the copy";
  const std::string page(bytes.begin(), bytes.end());
  std::set<std::string> anchors;
  const std::regex anchor(R"re((?:name|id)="([^"]+)")re");
  for (std::sregex_iterator it(page.begin(), page.end(), anchor), end; it != end; ++it)
    anchors.insert((*it)[1]);
  const std::regex link(R"re(href="#([^"]+)")re");
  int links = 0;
  for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it, ++links)
    EXPECT_EQ(anchors.count((*it)[1]), 1u) << "no anchor " << (*it)[1];
  EXPECT_GT(links, 10);
  const std::regex picture(R"re(src="([^"]+)")re");
  int pictures = 0;
  for (std::sregex_iterator it(page.begin(), page.end(), picture), end; it != end; ++it) {
    ++pictures;
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / (*it)[1].str())) << (*it)[1];
  }
  EXPECT_GT(pictures, 10);
}

}  // namespace
}  // namespace mirasketch
