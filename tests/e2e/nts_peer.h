// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// chronyd serving NTS on the loopback: a CA and a server certificate the test makes, and the
// configuration lines that serve it on TCP 4460. Its NTP requests go to chronyd on 127.0.0.1, or
// to 127.0.0.2, where a test relays (or tampers with) them on their way there.
#include <string>

namespace korvane::e2e {

constexpr int kNtsKePort = 4460;
constexpr const char* kNtsNtpAddress = "127.0.0.2";

// Makes dir/ca.crt and a certificate for "localhost" alone (no address) signed by it; false
// with why when openssl is missing or fails.
bool makeNtsCertificates(const std::string& dir, std::string& why);
// The chrony.conf lines that serve NTS with the certificates of dir.
std::string ntsChronyLines(const std::string& dir, bool viaRelay);

}  // namespace korvane::e2e
