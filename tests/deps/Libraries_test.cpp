// The cross-built libraries link into a Windows program and work under Wine.
#include <winsock2.h>  // before windows.h, which TestKit.h brings

#include <gtest/gtest.h>

#include "TestKit.h"

#include <curl/curl.h>
#include <json/json.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <tinyxml.h>

#include <cstring>
#include <memory>

using namespace testkit;

TEST(Libraries, TinyXmlParsesAndWritesAttributes)
{
    TiXmlDocument doc;
    doc.Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?><vintracfg><FrameRate value=\"25\"/></vintracfg>");
    ASSERT_FALSE(doc.Error()) << doc.ErrorDesc();
    TiXmlElement* e = doc.RootElement()->FirstChildElement("FrameRate");
    ASSERT_NE(nullptr, e);
    int v = 0;
    EXPECT_EQ(TIXML_SUCCESS, e->QueryIntAttribute("value", &v));
    EXPECT_EQ(25, v);
}

TEST(Libraries, JsonCppReadsStringValues)
{
    Json::CharReaderBuilder b;
    std::unique_ptr<Json::CharReader> reader(b.newCharReader());
    const char text[] = "{\"version\":\"1.2.3\",\"log\":\"fixes\"}";
    Json::Value root;
    std::string errors;
    ASSERT_TRUE(reader->parse(text, text + strlen(text), &root, &errors)) << errors;
    EXPECT_EQ("1.2.3", root["version"].asString());
}

TEST(Libraries, CurlSpeaksHttpsThroughSchannel)
{
    ASSERT_EQ(CURLE_OK, curl_global_init(CURL_GLOBAL_DEFAULT));
    curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    ASSERT_NE(nullptr, info);
    EXPECT_NE(nullptr, strstr(info->ssl_version, "Schannel"));
    bool https = false;
    for (const char* const* p = info->protocols; *p; ++p)
        https = https || strcmp(*p, "https") == 0;
    EXPECT_TRUE(https);
    CURL* c = curl_easy_init();
    EXPECT_NE(nullptr, c);
    curl_easy_cleanup(c);
    curl_global_cleanup();
}

TEST(Libraries, MinizipWritesAndReadsAnArchive)
{
    std::string zipPath = MakeTempDir("zip") + "\\skin.zip";
    zipFile z = zipOpen(zipPath.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(nullptr, z);
    const char body[] = "<Window size=\"550,150\"/>";
    ASSERT_EQ(ZIP_OK, zipOpenNewFileInZip(z, "main_frame.xml", nullptr, nullptr, 0, nullptr, 0,
                                          nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION));
    ASSERT_EQ(ZIP_OK, zipWriteInFileInZip(z, body, sizeof body - 1));
    zipCloseFileInZip(z);
    zipClose(z, nullptr);

    unzFile u = unzOpen(zipPath.c_str());
    ASSERT_NE(nullptr, u);
    ASSERT_EQ(UNZ_OK, unzLocateFile(u, "main_frame.xml", 0));
    ASSERT_EQ(UNZ_OK, unzOpenCurrentFile(u));
    char got[64] = {};
    int n = unzReadCurrentFile(u, got, sizeof got);
    unzCloseCurrentFile(u);
    unzClose(u);
    EXPECT_EQ(std::string(body), std::string(got, n > 0 ? n : 0));
}
