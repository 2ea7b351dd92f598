// The multipart parser: keys, fields, limits, extension lists, error
// numbers and descriptions, and bodies that break the format.
#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "automation/coerce.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "upload_body.h"

namespace arenix::upload {
namespace {

using automation::CStr;
using testing::Item;
using testing::ItemBytes;
using testing::Multipart;
using testing::UploadPage;

Text Str(const Variant& v) { return CStr(v); }

TEST(UploadParserTest, KeysFieldsAndItemsPointIntoTheBody) {
  std::string jpeg1 = "\xFF\xD8\xFF\xE0\r\n--not-the-boundary\r\n\0bytes";
  jpeg1.push_back('\0');
  Multipart m;
  m.Field("Title", "\xD4\xCB\xB6\xAF\xBB\xE1")  // 运动会 in GBK
      .File("Photo", "a.jpg", jpeg1, "image/jpeg").File("Photo", "b.png", "PNG")
      .File("doc", "form.doc", "").Field("tag", "a").Field("TAG", "b");
  UploadPage page(m);
  auto p = page.Parse();
  ASSERT_EQ(p->error_id(), kComplete) << automation::ToUtf8(p->Description());
  EXPECT_EQ(p->Description(), u"完成");
  const Text& sep = p->key_separator();
  EXPECT_EQ(sep.size(), 20u);
  EXPECT_EQ(p->files()->Count(), 3u);
  std::vector<Text> keys;
  for (const auto& [k, v] : p->files()->entries()) keys.push_back(k);
  EXPECT_EQ(keys, (std::vector<Text>{u"photo" + sep + u"0", u"photo" + sep + u"1", u"doc" + sep + u"0"}));

  Variant first = p->File(u"PHOTO");
  ASSERT_TRUE(Item(first));
  EXPECT_EQ(ItemBytes(first), jpeg1);
  EXPECT_EQ(Str(Item(first)->ContentType), u"image/jpeg");
  EXPECT_EQ(Str(Item(first)->FormName), u"photo" + sep + u"0");
  size_t pos = m.Body().find(jpeg1);
  EXPECT_EQ(automation::CDbl(Item(first)->Position), static_cast<double>(pos));
  EXPECT_EQ(automation::CDbl(Item(first)->Size), static_cast<double>(jpeg1.size()));
  EXPECT_EQ(ItemBytes(p->FileAt(u"photo", 1)), "PNG");
  EXPECT_EQ(ItemBytes(p->File(p->key_separator().empty() ? u"" : u"doc" + sep + u"0")), "");
  EXPECT_EQ(p->total_size(), static_cast<double>(jpeg1.size() + 3));
  EXPECT_FALSE(Item(p->File(u"nothing")));  // an empty item
  EXPECT_EQ(p->Form(u"title"), u"运动会");
  EXPECT_EQ(p->Form(u"tag"), u"a,b");
  EXPECT_EQ(p->Form(u"none"), u"");
  EXPECT_FALSE(p->lost_time().empty());
}

TEST(UploadParserTest, ClientNamesAreReducedToTheirLastPart) {
  struct Case {
    const char* sent;
    const char16_t* name;
    const char16_t* ext;
  } cases[] = {
      {"C:\\Users\\x\\My Pic.JPG", u"My Pic.JPG", u"JPG"},
      {"..\\..\\x.doc", u"x.doc", u"doc"},
      {"/etc/x", u"x", u""},
      {"../../up/evil.jpg", u"evil.jpg", u"jpg"},
      {"a.b.tar.gz", u"a.b.tar.gz", u"gz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    UploadPage page(Multipart().File("f", c.sent, "x"));
    auto p = page.Parse();
    ASSERT_EQ(p->error_id(), kComplete);
    auto* item = Item(p->File(u"f"));
    ASSERT_TRUE(item);
    EXPECT_EQ(Str(item->FileName), c.name);
    EXPECT_EQ(Str(item->LocalName), c.name);
    EXPECT_EQ(Str(item->Extend), c.ext);
    EXPECT_EQ(Str(item->NewName).size(), 19u + Text(c.ext).size());
  }
  // The allow-list is checked on the reduced name.
  UploadPage denied(Multipart().File("f", "x.jpg\\..\\evil.asp", "x"));
  EXPECT_EQ(denied.Parse(u"pic")->error_id(), kDeniedExtension);
  // Server pages are never taken, even when the allow-list is empty.
  for (const char* name : {"x.asp", "X.ASA", "y.php", "z.aspx"}) {
    UploadPage page(Multipart().File("f", name, "<% x %>"));
    EXPECT_EQ(page.Parse(u"")->error_id(), kDeniedExtension) << name;
  }
  UploadPage allowed(Multipart().File("f", "C:\\Users\\x\\My Pic.JPG", "x"));
  EXPECT_EQ(allowed.Parse(u"pic")->error_id(), kComplete);
  // A pasted image.
  UploadPage blob(Multipart().File("f", "blob", "PNGDATA", "image/png"));
  auto p = blob.Parse(u"pic");
  ASSERT_EQ(p->error_id(), kComplete);
  EXPECT_EQ(Str(Item(p->File(u"f"))->FileName).size(), 22u);
  EXPECT_EQ(Str(Item(p->File(u"f"))->Extend), u"png");
}

TEST(UploadParserTest, ExtensionListsAndPresets) {
  struct Case {
    const char16_t* set;
    const char16_t* stored;
  } cases[] = {
      {u"*.jpg;*.png", u"jpg|png"}, {u"PIC", u"jpg|jpeg|gif|bmp|png"}, {u"zip", u"rar|zip"},
      {u"*", u"*"},                 {u"Doc", u"doc|docx|xls|xlsx|ppt|pptx|txt|rtf|pdf"},
      {u"JPG", u"jpg"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeExtensionList(c.set), c.stored);
  EXPECT_FALSE(IsExtensionDenied(u"", u"asp"));
  EXPECT_FALSE(IsExtensionDenied(u"*", u"asp"));
  EXPECT_FALSE(IsExtensionDenied(u"jpg", u"JPG"));
  EXPECT_TRUE(IsExtensionDenied(u"jpg", u"jpeg"));
  EXPECT_TRUE(IsExtensionDenied(u"jpg|png", u""));   // no extension
  EXPECT_FALSE(IsExtensionDenied(u"jpg||png", u""));  // unless the list has an empty element
  EXPECT_TRUE(IsExtensionDenied(u"jpg|png", u"pn"));
}

TEST(UploadParserTest, EmptyFileInputsAddNothing) {
  UploadPage page(Multipart().File("f", "", "").Field("t", "v").File("g", "  ", ""));
  auto p = page.Parse(u"pic");
  EXPECT_EQ(p->error_id(), kComplete);
  EXPECT_EQ(p->files()->Count(), 0u);
  EXPECT_EQ(p->total_size(), 0);
  EXPECT_EQ(p->Form(u"f"), u"");
  EXPECT_EQ(p->Form(u"t"), u"v");
}

TEST(UploadParserTest, LimitsStopThePartByPartAndKeepWhatCameBefore) {
  std::string mb2(2 * 1048576, 'x');
  Multipart m;
  m.Field("a", "1").File("f", "small.jpg", "abc").File("g", "big.jpg", mb2).Field("b", "2");

  UploadPage single(m);
  auto p = single.Parse(u"", -1, 1048576);
  EXPECT_EQ(p->error_id(), kFileTooLarge);
  EXPECT_EQ(p->Description(), u"超出了单文件最大容量(容许值为1M)");
  EXPECT_EQ(p->total_size(), 3 + 2 * 1048576);  // the refused file counts
  EXPECT_EQ(p->files()->Count(), 1u);
  EXPECT_EQ(p->Form(u"a"), u"1");
  EXPECT_EQ(p->Form(u"b"), u"");

  // On version 6 and later the whole body is refused before it is read.
  auto counting = std::make_shared<host::MemoryRequest>();
  UploadPage iis6(m);
  p = iis6.Parse(u"", 1048576);
  EXPECT_EQ(p->error_id(), kTooLarge);
  EXPECT_EQ(p->Description(), u"超出了最大容量(容许值为1M)");
  EXPECT_EQ(p->files()->Count(), 0u);
  EXPECT_EQ(iis6.request->BinaryRead(5).size(), 5u);  // nothing was read
  // On 5.1 the body is read and the files add up past the limit.
  UploadPage iis5(m.Body(), m.ContentType(), u"POST", u"Microsoft-IIS/5.1");
  p = iis5.Parse(u"", 1048576);
  EXPECT_EQ(p->error_id(), kTooLarge);
  EXPECT_EQ(p->files()->Count(), 1u);

  UploadPage denied(m);
  p = denied.Parse(u"*.gif;*.jpeg");
  EXPECT_EQ(p->error_id(), kDeniedExtension);
  EXPECT_EQ(p->Description(), u"不允许上传该类文件(容许上传文件类型为:gif|jpeg)");
  EXPECT_EQ(p->Form(u"a"), u"1");
}

TEST(UploadParserTest, RequestsThatAreNoMultipartPost) {
  Multipart m;
  m.Field("a", "1");
  struct Case {
    std::string body, type;
    const char16_t* method;
    int32_t error;
  } cases[] = {
      {"", m.ContentType(), u"POST", kNoBody},
      {m.Body(), m.ContentType(), u"GET", kNotMultipartPost},
      {m.Body(), "application/x-www-form-urlencoded", u"POST", kNotMultipartPost},
      {m.Body(), " Multipart/Form-Data ; boundary=x", u" post ", kComplete},
  };
  for (const auto& c : cases) {
    UploadPage page(c.body, c.type, c.method);
    EXPECT_EQ(page.Parse()->error_id(), c.error) << c.type;
  }
  UploadPage empty("", m.ContentType());
  EXPECT_EQ(empty.Parse()->Description(), u"未选择上传文件或上传文件不存在");
  UploadPage get(m.Body(), m.ContentType(), u"GET");
  EXPECT_EQ(get.Parse()->Description(),
            u"Form中方式不对:Form一定要加上enctype=\"multipart/form-data\"属性,method属性值必须是post");
  Orvel_Class_UploadFile fresh;
  EXPECT_EQ(fresh.error_id(), -1);
  EXPECT_EQ(fresh.Description(), u"其他原因出错");
}

TEST(UploadParserTest, BrokenBodiesStopWithoutReadingOutside) {
  Multipart good;
  good.Field("a", "1").File("f", "x.txt", "content");
  std::string body = good.Body();
  struct Case {
    const char* what;
    std::string body;
    size_t fields;
  } cases[] = {
      {"no line end at all", "--boundary-without-end", 0},
      {"starts with a line end", "\r\n\r\n--b--\r\n", 0},
      {"header block without its end", "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n", 0},
      {"part without its delimiter", "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nvalue", 0},
      {"delimiter right after the header", "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n--b--", 0},
      {"cut short in the file", body.substr(0, body.find("content") + 3), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UploadPage page(c.body, "multipart/form-data; boundary=b");
    auto p = page.Parse();
    EXPECT_EQ(p->error_id(), kMalformedBody);
    EXPECT_EQ(p->Description(), u"其他原因出错");
    EXPECT_EQ(p->forms()->Count(), c.fields);
    EXPECT_EQ(p->files()->Count(), 0u);
  }
  // A header without a name keeps the value under the empty name.
  UploadPage noname(Multipart().Raw("Content-Disposition: form-data", "v").Field("b", "2"));
  auto p = noname.Parse();
  EXPECT_EQ(p->error_id(), kComplete);
  EXPECT_EQ(p->Form(u""), u"v");
  EXPECT_EQ(p->Form(u"b"), u"2");
}

// A host that delivers fewer bytes than asked, or stops early.
class TricklingRequest : public host::MemoryRequest {
 public:
  explicit TricklingRequest(size_t piece, size_t stop_after) : piece_(piece), stop_(stop_after) {}
  automation::Bytes BinaryRead(int32_t count) override {
    ++reads;
    largest = std::max(largest, count);
    if (delivered_ >= stop_) return {};
    auto b = MemoryRequest::BinaryRead(std::min<int32_t>(count, static_cast<int32_t>(piece_)));
    delivered_ += b.size();
    return b;
  }
  int reads = 0;
  int32_t largest = 0;

 private:
  size_t piece_, stop_, delivered_ = 0;
};

TEST(UploadParserTest, ReadsInChunksAndSurvivesAClientThatStops) {
  std::string big(100000, 'z');
  Multipart m;
  m.Field("a", "1").File("f", "x.bin", big);
  for (size_t piece : {7u, 5000u, 16384u}) {
    auto req = std::make_shared<TricklingRequest>(piece, SIZE_MAX);
    req->SetServerVariable(u"REQUEST_METHOD", u"POST");
    req->SetServerVariable(u"HTTP_CONTENT_TYPE", automation::FromUtf8(m.ContentType()));
    std::string body = m.Body();
    req->SetBody(automation::Bytes(body.begin(), body.end()));
    Variant r{automation::ObjectPtr(req)};
    Orvel_Class_UploadFile p;
    p.GetData(r);
    EXPECT_EQ(p.error_id(), kComplete);
    EXPECT_LE(req->largest, kReadChunk);
    EXPECT_EQ(ItemBytes(p.File(u"f")), big);
  }
  auto req = std::make_shared<TricklingRequest>(1000, 3000);
  req->SetServerVariable(u"REQUEST_METHOD", u"POST");
  req->SetServerVariable(u"HTTP_CONTENT_TYPE", automation::FromUtf8(m.ContentType()));
  std::string body = m.Body();
  req->SetBody(automation::Bytes(body.begin(), body.end()));
  Variant r{automation::ObjectPtr(req)};
  Orvel_Class_UploadFile p;
  p.GetData(r);
  EXPECT_EQ(p.error_id(), kMalformedBody);
  EXPECT_EQ(p.Form(u"a"), u"1");
  EXPECT_EQ(req->reads, 4);  // three pieces, then nothing: no waiting for ever
}

TEST(UploadParserTest, CharacterSetsOfNamesAndValues) {
  Multipart gbk;
  gbk.Field("\xD0\xD5\xC3\xFB", "\xD5\xC5\xC8\xFD").File("f", "\xB1\xA8\xC3\xFB.xls", "x");  // 姓名 张三 报名
  UploadPage g(gbk);
  auto p = g.Parse();
  EXPECT_EQ(p->Form(u"姓名"), u"张三");
  EXPECT_EQ(Str(Item(p->File(u"f"))->FileName), u"报名.xls");
  Multipart utf8;
  utf8.Field("姓名", "张三").File("f", "报名.xls", "x");
  UploadPage u(utf8);
  p = u.Parse(u"", -1, -1, u"utf-8");
  EXPECT_EQ(p->Form(u"姓名"), u"张三");
  EXPECT_EQ(Str(Item(p->File(u"f"))->FileName), u"报名.xls");
  Multipart big5;
  big5.Field("n", "\xA4\xA4");  // 中 in Big5
  UploadPage b(big5);
  EXPECT_EQ(b.Parse(u"", -1, -1, u"big5")->Form(u"n"), u"中");
}

TEST(UploadParserTest, ItemsReadOnlyTheirOwnParsersBodyWhileItLives) {
  UploadPage first(Multipart().File("f", "a.txt", "first"));
  UploadPage second(Multipart().File("f", "a.txt", "second"));
  auto p1 = first.Parse();
  Variant item1 = p1->File(u"f");
  auto p2 = second.Parse();
  EXPECT_EQ(ItemBytes(item1), "first");
  EXPECT_EQ(ItemBytes(p2->File(u"f")), "second");
  Item(item1)->Value = Variant(Text(u"page value"));
  p1.reset();  // released: the item can no longer read
  EXPECT_THROW(Item(item1)->GetBytes(), automation::Error);
  EXPECT_TRUE(Item(item1)->Value.IsEmpty());
  // Read mode 1 keeps no body.
  UploadPage once(Multipart().File("f", "a.txt", "x"));
  auto p = std::make_shared<Orvel_Class_UploadFile>();
  p->SetMode(1);
  p->GetData(once.Request);
  EXPECT_EQ(p->error_id(), kComplete);
  EXPECT_THROW(Item(p->File(u"f"))->GetBytes(), automation::Error);
}

TEST(UploadParserTest, SizesAndMembersByName) {
  EXPECT_EQ(SizeText(500), u"500.00B");
  EXPECT_EQ(SizeText(1023), u"1,023.00B");
  EXPECT_EQ(SizeText(1024), u"1.00KB");
  EXPECT_EQ(SizeText(2048), u"2.00KB");
  EXPECT_EQ(SizeText(3145728), u"3.00MB");

  arenix::RegisterClasses();
  auto obj = automation::CreateObject(u"Arenix.Orvel_Class_UploadFile");
  auto call = [&](const char16_t* name, std::vector<Variant> a,
                  automation::InvokeKind k = automation::InvokeKind::Method) {
    std::vector<Variant*> ptrs;
    for (auto& v : a) ptrs.push_back(&v);
    return obj->Invoke(name, k, ptrs);
  };
  using automation::InvokeKind;
  EXPECT_EQ(Str(call(u"Version", {}, InvokeKind::PropertyGet)), u"OrvelAspUpload V13.01.16");
  call(u"Exe", {Variant(Text(u"PIC"))}, InvokeKind::PropertyPut);
  EXPECT_EQ(Str(call(u"exe", {}, InvokeKind::PropertyGet)), u"jpg|jpeg|gif|bmp|png");
  call(u"MaxSize", {Variant(2097152.0)}, InvokeKind::PropertyPut);
  UploadPage page(Multipart().File("photo", "a.gif", "GIF").Field("t", "x"));
  call(u"GetData", {page.Request});
  EXPECT_EQ(call(u"ErrorID", {}, InvokeKind::PropertyGet), Variant(int32_t{0}));
  EXPECT_EQ(call(u"FileCount", {}, InvokeKind::PropertyGet), Variant(int32_t{1}));
  EXPECT_EQ(Str(call(u"Forms", {Variant(Text(u"T"))})), u"x");
  EXPECT_EQ(Str(call(u"GetSize", {Variant(2048)})), u"2.00KB");
  Variant item = call(u"Files", {Variant(Text(u"Photo"))});
  EXPECT_EQ(item.object()->Invoke(u"IsFile", InvokeKind::PropertyGet, {}), Variant(true));
  Variant none = call(u"Files_Muti", {Variant(Text(u"photo")), Variant(1)});
  EXPECT_EQ(none.object()->Invoke(u"IsFile", InvokeKind::PropertyGet, {}), Variant(false));
  Variant table = call(u"Files", {Variant(Text(u" -1 "))});
  EXPECT_EQ(table.object()->Invoke(u"Count", InvokeKind::PropertyGet, {}), Variant(int32_t{1}));
  EXPECT_THROW(item.object()->Invoke(u"IsFile", InvokeKind::PropertyPut, std::vector<Variant*>{&none}),
               automation::Error);
}

}  // namespace
}  // namespace arenix::upload
