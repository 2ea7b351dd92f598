// Saving uploaded items: folders, naming options, numbering of taken
// names, and failures reported through Exception.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include "arenix/file/file_site.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "upload_body.h"

namespace arenix::upload {
namespace {

using automation::CStr;
using file::testing::FileSite;
using testing::Item;
using testing::Multipart;
using testing::UploadPage;
namespace fs = std::filesystem;

struct Saved {
  bool ok;
  Text file_name;
  Text path;
  Text exception;
};

class SaveTest : public ::testing::Test {
 protected:
  Orvel_Class_UploadFileEx& Upload(const std::string& client, const std::string& bytes) {
    page = std::make_unique<UploadPage>(Multipart().File("f", client, bytes));
    parser = page->Parse();
    return *Item(parser->File(u"f"));
  }
  Saved Save(Orvel_Class_UploadFileEx& item, const Text& path, int16_t option, bool overwrite) {
    bool ok = item.SavetoFile(site.Server, path, option, overwrite);
    return {ok, CStr(item.FileName), CStr(item.Path), CStr(item.Exception)};
  }
  FileSite site;
  std::unique_ptr<UploadPage> page;
  std::shared_ptr<Orvel_Class_UploadFile> parser;
};

TEST_F(SaveTest, NamingOptions) {
  auto& item = Upload("C:\\docs\\Logo.PNG", "png bytes");
  Text new_name = CStr(item.NewName);
  Saved s = Save(item, u"/upload/images", 0, true);
  EXPECT_TRUE(s.ok) << automation::ToUtf8(s.exception);
  EXPECT_EQ(s.path, automation::Replace(automation::FromUtf8(site.root), u"/", u"\\") +
                        u"\\upload\\images\\");
  EXPECT_EQ(s.file_name, new_name);
  EXPECT_EQ(site.Read("upload/images/" + automation::ToUtf8(new_name)), "png bytes");

  EXPECT_EQ(Save(item, u"/upload", 1, true).file_name, u"Logo.PNG");
  EXPECT_EQ(site.Read("upload/Logo.PNG"), "png bytes");
  item.UserSetName = Variant(Text(u"logo"));
  EXPECT_EQ(Save(item, u"/upload", -1, true).file_name, u"logo.PNG");
  item.UserSetName = Variant(Text());
  EXPECT_EQ(Save(item, u"/upload", -1, true).file_name, new_name);
  EXPECT_EQ(Save(item, u"/upload", 2, true).file_name, new_name);
  // A physical folder with or without its separator.
  Text physical = u"D:" + automation::FromUtf8(site.root) + u"\\upload";
  EXPECT_EQ(Save(item, physical, 1, true).path, Save(item, physical + u"\\", 1, true).path);
}

TEST_F(SaveTest, TakenNamesAreNumberedUnlessOverwriting) {
  site.Write("up/a.jpg", "old a");
  site.Write("up/a(0).jpg", "old a0");
  auto& item = Upload("a.jpg", "new");
  Saved s = Save(item, u"/up", 1, false);
  EXPECT_TRUE(s.ok);
  EXPECT_EQ(s.file_name, u"a(1).jpg");
  EXPECT_EQ(site.Read("up/a(1).jpg"), "new");
  EXPECT_EQ(site.Read("up/a.jpg"), "old a");
  EXPECT_TRUE(Save(item, u"/up", 1, true).ok);
  EXPECT_EQ(site.Read("up/a.jpg"), "new");

  site.Write("up/report.v2.doc", "old");
  auto& report = Upload("report.v2.doc", "r");
  EXPECT_EQ(Save(report, u"/up", 1, false).file_name, u"report(0).doc");
  // A name without a dot is numbered whole.
  site.Write("up/README", "old");
  auto& readme = Upload("README", "r");
  EXPECT_EQ(Save(readme, u"/up", 1, false).file_name, u"README(0)");
}

TEST_F(SaveTest, EmptyFilesAndFailuresThroughException) {
  auto& empty = Upload("empty.txt", "");
  EXPECT_TRUE(Save(empty, u"/up", 1, true).ok);
  EXPECT_TRUE(site.Exists("up/empty.txt"));
  EXPECT_EQ(site.Read("up/empty.txt"), "");

  // A folder that cannot be made: a file stands in its way.
  site.Write("blocked", "file");
  auto& item = Upload("x.txt", "x");
  Saved s = Save(item, u"/blocked/sub", 1, true);
  EXPECT_FALSE(s.ok);
  EXPECT_FALSE(s.exception.empty());
  // A name the page chose that is no plain name.
  item.UserSetName = Variant(Text(u"..\\..\\escape"));
  s = Save(item, u"/up", -1, true);
  EXPECT_FALSE(s.ok);
  EXPECT_NE(s.exception.find(u"文件名无效"), Text::npos);
  EXPECT_FALSE(site.Exists("escape.txt"));
  // After the parser is released the item cannot be saved.
  Variant held = parser->File(u"f");
  parser.reset();
  s = Save(*Item(held), u"/up", 1, true);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.exception, u"上传的数据已不可用");
}

TEST_F(SaveTest, QuickSaveStoresTheFilesOfOneField) {
  page = std::make_unique<UploadPage>(
      Multipart().File("pics", "a.jpg", "A").File("pics", "b.jpg", "B").File("doc", "c.doc", "C"));
  parser = page->Parse();
  EXPECT_EQ(parser->QuickSave(u"PICS", automation::FromUtf8(site.root) + u"/quick", &site.Server), 2);
  // Without a server object a parser that was given no site saves nothing;
  // given the host's site, it saves inside it.
  EXPECT_EQ(parser->QuickSave(u"doc", automation::FromUtf8(site.root) + u"/quick2", nullptr), 0);
  parser->UseSite(site.site());
  EXPECT_EQ(parser->QuickSave(u"doc", automation::FromUtf8(site.root) + u"/quick2", nullptr), 1);
  EXPECT_EQ(fs::directory_iterator(site.Native("quick")) == fs::directory_iterator(), false);
  EXPECT_EQ(parser->QuickSave(u"doc", u"/etc/arenix-quick", nullptr), 0);
  EXPECT_FALSE(fs::exists("/etc/arenix-quick"));
}

}  // namespace
}  // namespace arenix::upload
