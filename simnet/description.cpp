#include "simnet/description.h"

#include <lm.h>

#include <cstdlib>
#include <cwctype>

namespace simnet {

namespace {

enum class Kind { Network, Domain, Computer, Share };

struct Section {
    Kind kind = Kind::Network;
    bool hasParent = false;
    std::wstring parent;
    Answer answer;
    ServerRecord server;
    ShareRecord share;
};

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

bool ParseNumber(const std::string& s, DWORD& out) {
    if (s.empty() || s[0] == '-')
        return false;
    char* end = nullptr;
    unsigned long long v = std::strtoull(s.c_str(), &end, 0);
    if (*end != 0 || v > 0xFFFFFFFFull)
        return false;
    out = DWORD(v);
    return true;
}

bool ParseShareType(const std::string& s, DWORD& out) {
    out = 0;
    std::string word;
    bool any = false;
    auto flush = [&]() {
        if (word.empty())
            return true;
        std::string w = Lower(word);
        word.clear();
        any = true;
        DWORD n = 0;
        if (w == "disk")
            n = STYPE_DISKTREE;
        else if (w == "print" || w == "printq")
            n = STYPE_PRINTQ;
        else if (w == "device")
            n = STYPE_DEVICE;
        else if (w == "ipc")
            n = STYPE_IPC;
        else if (w == "special")
            n = STYPE_SPECIAL;
        else if (w == "temporary")
            n = STYPE_TEMPORARY;
        else if (!ParseNumber(w, n))
            return false;
        out |= n;
        return true;
    };
    for (char c : s) {
        if (c == ' ' || c == '\t' || c == '+' || c == '|') {
            if (!flush())
                return false;
        } else {
            word += c;
        }
    }
    return flush() && any;
}

bool ParseVersion(const std::string& s, ServerRecord& rec) {
    size_t dot = s.find('.');
    std::string major = dot == std::string::npos ? s : s.substr(0, dot);
    std::string minor = dot == std::string::npos ? "0" : s.substr(dot + 1);
    return ParseNumber(major, rec.versionMajor) && ParseNumber(minor, rec.versionMinor);
}

bool ApplyAnswerKey(const std::string& key, const std::string& value, Section& sec) {
    Answer& a = sec.answer;
    if (key == "latency")
        return ParseNumber(value, a.latencyMs);
    if (key == "status") {
        if (Lower(value) == "nobuffer") {
            a.status = 0;
            a.noBuffer = true;
            return true;
        }
        a.noBuffer = false;
        return ParseNumber(value, a.status);
    }
    if (key == "records") {
        DWORD n = 0;
        if (!ParseNumber(value, n) || n > 0x7FFFFFFF)
            return false;
        a.records = long(n);
        return true;
    }
    return false;
}

bool ApplyKey(const std::string& key, const std::string& value, Section& sec) {
    switch (sec.kind) {
    case Kind::Network:
        return ApplyAnswerKey(key, value, sec);
    case Kind::Domain:
    case Kind::Computer:
        if (key == "type")
            return ParseNumber(value, sec.server.type);
        if (key == "comment") {
            sec.server.comment = Widen(value, CP_UTF8);
            return true;
        }
        if (key == "platform")
            return ParseNumber(value, sec.server.platform);
        if (key == "version")
            return ParseVersion(value, sec.server);
        return ApplyAnswerKey(key, value, sec);
    case Kind::Share:
        if (key == "type")
            return ParseShareType(value, sec.share.type);
        if (key == "remark") {
            sec.share.remark = Widen(value, CP_UTF8);
            return true;
        }
        if (key == "dir") {
            sec.share.hasDir = !value.empty();
            return true;
        }
        return false;
    }
    return false;
}

// "[kind path]": path is NAME or PARENT/NAME (a backslash also separates).
bool ParseHeader(const std::string& line, Section& sec) {
    std::string inner = Trim(line.substr(1, line.size() - 2));
    size_t sp = inner.find_first_of(" \t");
    std::string kind = Lower(inner.substr(0, sp));
    std::string path = sp == std::string::npos ? std::string() : Trim(inner.substr(sp));
    if (kind == "network") {
        sec.kind = Kind::Network;
        return path.empty();
    }
    if (kind == "domain")
        sec.kind = Kind::Domain, sec.server.type = SV_TYPE_DOMAIN_ENUM | SV_TYPE_NT;
    else if (kind == "computer")
        sec.kind = Kind::Computer,
        sec.server.type = SV_TYPE_WORKSTATION | SV_TYPE_SERVER | SV_TYPE_NT;
    else if (kind == "share")
        sec.kind = Kind::Share;
    else
        return false;
    size_t slash = path.find_first_of("/\\");
    std::string name = path;
    if (slash != std::string::npos) {
        sec.hasParent = true;
        sec.parent = Widen(Trim(path.substr(0, slash)), CP_UTF8);
        name = Trim(path.substr(slash + 1));
        if (name.find_first_of("/\\") != std::string::npos)
            return false;
    }
    // A share always names its computer. An empty name is written "PARENT/" ("/" at the root).
    if (!sec.hasParent && (sec.kind == Kind::Share || name.empty()))
        return false;
    (sec.kind == Kind::Share ? sec.share.name : sec.server.name) = Widen(name, CP_UTF8);
    return true;
}

Listing& ListingFor(std::vector<Listing>& list, const std::wstring& name) {
    std::wstring key = UpperKey(name);
    for (Listing& l : list)
        if (l.name == key)
            return l;
    list.push_back(Listing{});
    list.back().name = key;
    list.back().display = name;
    return list.back();
}

} // namespace

std::wstring UpperKey(const std::wstring& name) {
    std::wstring key = name;
    if (!key.empty())
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, name.data(), int(name.size()),
                      key.data(), int(key.size()), nullptr, nullptr, 0);
    return key;
}

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

const Listing* Network::FindDomain(const std::wstring& name) const {
    std::wstring key = UpperKey(name);
    for (const Listing& l : domains)
        if (l.name == key)
            return &l;
    return nullptr;
}

const Listing* Network::FindComputer(const std::wstring& name) const {
    std::wstring key = UpperKey(name);
    for (const Listing& l : computers)
        if (l.name == key)
            return &l;
    return nullptr;
}

Network NoNetwork() {
    Network net;
    net.root.described = true;
    net.root.answer.status = ERROR_NO_BROWSER_SERVERS_FOUND;
    return net;
}

int ParseNetwork(const std::string& text, Network& out) {
    std::vector<Section> sections;
    std::vector<std::wstring> seen; // kind + full path, to refuse duplicates
    size_t pos = 0;
    int lineNo = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string::npos)
            eol = text.size();
        std::string line = Trim(text.substr(pos, eol - pos));
        pos = eol + 1;
        ++lineNo;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[') {
            Section sec;
            if (line.back() != ']' || !ParseHeader(line, sec))
                return lineNo;
            std::wstring id = std::to_wstring(int(sec.kind)) + L":" + UpperKey(sec.parent) + L"/" +
                              UpperKey(sec.kind == Kind::Share ? sec.share.name : sec.server.name);
            for (const std::wstring& s : seen)
                if (s == id)
                    return lineNo;
            seen.push_back(id);
            sections.push_back(sec);
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || sections.empty())
            return lineNo;
        std::string key = Lower(Trim(line.substr(0, eq)));
        std::string value = Trim(line.substr(eq + 1));
        if (!ApplyKey(key, value, sections.back()))
            return lineNo;
    }

    Network net;
    net.root.described = true;
    for (const Section& sec : sections) {
        switch (sec.kind) {
        case Kind::Network:
            net.root.answer = sec.answer;
            break;
        case Kind::Domain:
        case Kind::Computer: {
            Listing& parent = sec.parent.empty() ? net.root : ListingFor(net.domains, sec.parent);
            parent.servers.push_back(sec.server);
            Listing& own =
                ListingFor(sec.kind == Kind::Domain ? net.domains : net.computers, sec.server.name);
            // The first description of a name says how it answers.
            if (!own.described) {
                own.described = true;
                own.answer = sec.answer;
            }
            break;
        }
        case Kind::Share:
            ListingFor(net.computers, sec.parent).shares.push_back(sec.share);
            break;
        }
    }
    out = std::move(net);
    return 0;
}

} // namespace simnet
