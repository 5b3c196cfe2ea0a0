#include "tools/webservice/Certificate.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>
#include <stdexcept>

namespace webservice {

namespace {

void Check(bool Ok, const char* What)
{
    if (!Ok)
        throw std::runtime_error(std::string("certificate: ") + What);
}

void AddExtension(X509* Cert, int Nid, const char* Value)
{
    X509V3_CTX Ctx;
    X509V3_set_ctx_nodb(&Ctx);
    X509V3_set_ctx(&Ctx, Cert, Cert, nullptr, nullptr, 0);
    X509_EXTENSION* Ext = X509V3_EXT_conf_nid(nullptr, &Ctx, Nid, Value);
    Check(Ext != nullptr, "extension");
    X509_add_ext(Cert, Ext, -1);
    X509_EXTENSION_free(Ext);
}

}  // namespace

TSelfSigned MakeSelfSignedCertificate()
{
    TSelfSigned Out;
    Out.Key = EVP_EC_gen("P-256");
    Check(Out.Key != nullptr, "key");
    Out.Certificate = X509_new();
    X509* Cert = Out.Certificate;
    X509_set_version(Cert, 2);
    unsigned char Serial[16];
    RAND_bytes(Serial, sizeof Serial);
    Serial[0] &= 0x7f;
    BIGNUM* Number = BN_bin2bn(Serial, sizeof Serial, nullptr);
    BN_to_ASN1_INTEGER(Number, X509_get_serialNumber(Cert));
    BN_free(Number);
    X509_gmtime_adj(X509_getm_notBefore(Cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(Cert), 30L * 24 * 3600);
    X509_set_pubkey(Cert, Out.Key);
    X509_NAME* Name = X509_get_subject_name(Cert);
    X509_NAME_add_entry_by_txt(Name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("SORVEX stand-in web service"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(Name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
    X509_set_issuer_name(Cert, Name);
    AddExtension(Cert, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(Cert, NID_key_usage, "critical,digitalSignature,keyCertSign");
    AddExtension(Cert, NID_ext_key_usage, "serverAuth");
    AddExtension(Cert, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1,IP:::1");
    AddExtension(Cert, NID_subject_key_identifier, "hash");
    Check(X509_sign(Cert, Out.Key, EVP_sha256()) > 0, "sign");

    BIO* Mem = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(Mem, Cert);
    char* Data = nullptr;
    const long Len = BIO_get_mem_data(Mem, &Data);
    Out.CertificatePem = QByteArray(Data, static_cast<qsizetype>(Len));
    BIO_free(Mem);
    return Out;
}

}  // namespace webservice
