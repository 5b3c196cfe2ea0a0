#pragma once
// A self-signed certificate for the loopback service: an EC P-256 key and a
// certificate for "localhost", 127.0.0.1 and ::1, valid from an hour ago for
// thirty days, usable as its own trust anchor.

#include <QByteArray>
#include <openssl/evp.h>
#include <openssl/x509.h>

namespace webservice {

struct TSelfSigned {
    X509* Certificate = nullptr;  // owned by the caller (X509_free)
    EVP_PKEY* Key = nullptr;      // owned by the caller (EVP_PKEY_free)
    QByteArray CertificatePem;
};

// Raises std::runtime_error when OpenSSL fails.
TSelfSigned MakeSelfSignedCertificate();

}  // namespace webservice
