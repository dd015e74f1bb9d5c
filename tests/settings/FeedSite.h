// The program's web site for a test: feed_server.py on Linux's loopback,
// started for one test and stopped by its process id.
#pragma once

// Winsock 2 before windows.h, which TestKit.h brings in.
#include <winsock2.h>

#include "TestKit.h"

#include <windows.h>

#include <cstdlib>
#include <string>

class FeedSite {
public:
    FeedSite() = default;
    ~FeedSite() { Stop(); }
    FeedSite(const FeedSite&) = delete;
    FeedSite& operator=(const FeedSite&) = delete;

    // Serves body (the bytes as they go out) at the feed's path, `block`
    // bytes at a time.
    bool Serve(const std::string& body, int block = 40)
    {
        std::string dir = testkit::MakeTempDir("feed");
        testkit::WriteFile(dir + "\\update.json", body);
        return Launch(dir, "--body " + Unix(dir + "\\update.json") + " --block " +
                               std::to_string(block));
    }
    // Takes every request and never answers.
    bool ServeNothing() { return Launch(testkit::MakeTempDir("feed"), "--silent"); }

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // The heads of the requests so far.
    std::string Requests() const { return testkit::ReadFile(requests_); }

    void Stop()
    {
        if (pid_ > 0) testkit::RunLinux("kill " + std::to_string(pid_), 10000);
        pid_ = 0;
    }

    // A site where nothing listens: a port that was free a moment ago.
    static std::string Nowhere()
    {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at = {};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int len = sizeof at;
        int port = 0;
        if (bind(s, (sockaddr*)&at, sizeof at) == 0 && getsockname(s, (sockaddr*)&at, &len) == 0)
            port = ntohs(at.sin_port);
        closesocket(s);
        return "http://127.0.0.1:" + std::to_string(port);
    }

private:
    static std::string Unix(const std::string& path)
    {
        return testkit::ShellQuote(testkit::UnixPath(path));
    }

    bool Launch(const std::string& dir, const std::string& args)
    {
        const std::string ready = dir + "\\ready.txt";
        requests_ = dir + "\\requests.txt";
        testkit::StartLinux("exec python3 " + Unix(testkit::TestBinDir() + "\\feed_server.py") +
                            " --ready " + Unix(ready) + " --requests " + Unix(requests_) + " " +
                            args);
        if (!testkit::WaitForFile(ready, 20000)) return false;
        std::string text = testkit::ReadFile(ready);
        port_ = atoi(text.c_str());
        size_t blank = text.find(' ');
        pid_ = blank == std::string::npos ? 0 : atoi(text.c_str() + blank + 1);
        return port_ > 0 && pid_ > 0;
    }

    std::string requests_;
    int port_ = 0;
    int pid_ = 0;
};
