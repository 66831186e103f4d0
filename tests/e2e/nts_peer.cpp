// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/nts_peer.h"

#include <cstdlib>
#include <fstream>

namespace korvane::e2e {

bool makeNtsCertificates(const std::string& dir, std::string& why) {
  std::ofstream(dir + "/ext.cnf") << "subjectAltName=DNS:localhost\n"
                                     "extendedKeyUsage=serverAuth\n";
  const std::string d = "'" + dir + "'";
  const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes";
  const std::string script =
      "cd " + d + " && openssl req -x509" + key +
      " -days 2 -subj /CN=Korvane-test-CA -keyout ca.key -out ca.crt"
      " -addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign"
      " && openssl req" +
      key +
      " -subj /CN=localhost -keyout server.key -out server.csr"
      " && openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2"
      " -extfile ext.cnf -out server.crt";
  if (std::system((script + " >openssl.log 2>&1").c_str()) == 0) return true;
  why = "openssl could not make the test certificates (see " + dir + "/openssl.log)";
  return false;
}

std::string ntsChronyLines(const std::string& dir, bool viaRelay) {
  return "ntsserverkey " + dir + "/server.key\nntsservercert " + dir +
         "/server.crt\nntsport 4460\nntsdumpdir " + dir + "\n" +
         (viaRelay ? std::string("ntsntpserver ") + kNtsNtpAddress + "\n" : "");
}

}  // namespace korvane::e2e
