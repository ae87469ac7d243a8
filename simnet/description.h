// The simulated network as read from a description file (format: simnet/demo/network.ini).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace simnet {

// How one listing answers.
struct Answer {
    DWORD latencyMs = 0;
    DWORD status = 0;      // 0, 234 or a failure code
    bool noBuffer = false; // status 0 without a buffer
    long records = -1;     // at most this many records; -1: all
};

struct ServerRecord {
    std::wstring name;
    DWORD platform = 500;
    DWORD versionMajor = 10;
    DWORD versionMinor = 0;
    DWORD type = 0;
    std::wstring comment;
};

struct ShareRecord {
    std::wstring name;
    DWORD type = 0;
    std::wstring remark;
    bool hasDir = false;
};

// A listing: the root, a domain (its computers) or a computer (its shares).
struct Listing {
    std::wstring name;    // upper-cased key
    std::wstring display; // as first written
    bool described = false;
    Answer answer;
    std::vector<ServerRecord> servers;
    std::vector<ShareRecord> shares;
};

struct Network {
    Listing root;
    std::vector<Listing> domains;
    std::vector<Listing> computers;

    const Listing* FindDomain(const std::wstring& name) const;
    const Listing* FindComputer(const std::wstring& name) const;
};

// The network answered when no description could be read: the root fails as Wine's does.
Network NoNetwork();

// Parses a description. Returns 0, or the 1-based number of the first bad line.
int ParseNetwork(const std::string& text, Network& out);

std::wstring UpperKey(const std::wstring& name);
std::wstring Widen(const std::string& text, UINT codePage);
std::string Narrow(const std::wstring& text, UINT codePage);

} // namespace simnet
