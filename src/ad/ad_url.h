// The addresses the banner fetches and the HTTP/1.0 request it sends for one of them.
#pragma once

#include <cstddef>

constexpr size_t kAdTextSize = 1024; // the URL, host, path, link and request buffers
constexpr int kDefaultHttpPort = 80;

struct AdUrl {
    char host[kAdTextSize];
    int port; // 80 unless the address names one
    char path[kAdTextSize];
};

// Splits "http://host[:port]/path" (the "http://" may be left out): the path is everything from
// the first "/", or "/" when there is none. False for an address that cannot be fetched: no host,
// a port that is not a number from 1 to 65535, white space or control characters (which would
// change the request's lines), or a part longer than its buffer.
bool ParseAdUrl(const char* url, AdUrl& parsed);

// The request for a parsed address: a request line, a Host line carrying the port, a User-Agent
// line and an empty line. Returns its length, or 0 when it does not fit into `size` bytes.
size_t FormatAdRequest(const AdUrl& url, char* request, size_t size);
