// tinycfg: the toolkit's small typed key/value configuration store, kept in
// an XML file under the root element "tinycfg". Values are grouped in domains
// written as dotted paths ("a.b"); a null domain is the root itself.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TiXmlDocument;
class TiXmlElement;

constexpr int MAX_HEX_LEN = 512;

// Result codes of this layer (the old text form's reader).
enum : int {
    TINYCFG_OK = 0,
    TINYCFG_ERR_BASE = -2500,
    TINYCFG_ERR_OPEN = TINYCFG_ERR_BASE - 1,     // file missing or unreadable
    TINYCFG_ERR_XML = TINYCFG_ERR_BASE - 2,      // the file is XML, not the old text form
    TINYCFG_ERR_DAMAGED = TINYCFG_ERR_BASE - 3,  // the text is damaged or truncated
    TINYCFG_ERR_NAME = TINYCFG_ERR_BASE - 4,     // file name too long
};

// What a store file starts as.
extern const char TinycfgDefaultText[];

// Every Get returns true when the value was found and leaves its output
// untouched otherwise. Strings read are always terminated.
class ConfigInterface {
public:
    virtual ~ConfigInterface() {}
    virtual bool Load(const char* fileName) = 0;
    // Writes the file back when it changed and the store is writable;
    // false when that write failed (the store stays marked as changed).
    virtual bool Sync() = 0;

    virtual bool GetBool(const char* name, bool* value, const char* domain = nullptr) = 0;
    virtual bool GetInt(const char* name, int* value, const char* domain = nullptr) = 0;
    virtual bool GetString(const char* name, char* value, int length, const char* domain = nullptr) = 0;
    virtual bool GetDouble(const char* name, double* value, const char* domain = nullptr) = 0;
    virtual bool GetHex(const char* name, unsigned char* value, int len, const char* domain = nullptr) = 0;
    virtual bool GetBoolArray(const char* name, bool* values, int count, const char* domain = nullptr) = 0;
    virtual bool GetIntArray(const char* name, int* values, int count, const char* domain = nullptr) = 0;
    virtual bool GetStringArray(const char* name, char* const* values, int length, int count,
                                const char* domain = nullptr) = 0;
    virtual bool GetDoubleArray(const char* name, double* values, int count, const char* domain = nullptr) = 0;
    virtual bool GetHexArray(const char* name, unsigned char* const* values, int length_of_item, int count,
                             const char* domain = nullptr) = 0;

    virtual void SetBool(const char* name, bool value, const char* domain = nullptr) = 0;
    virtual void SetInt(const char* name, int value, const char* domain = nullptr) = 0;
    virtual void SetString(const char* name, const char* value, const char* domain = nullptr) = 0;
    virtual void SetDouble(const char* name, double value, const char* domain = nullptr) = 0;
    virtual void SetHex(const char* name, const unsigned char* value, int len, const char* domain = nullptr) = 0;
    virtual void SetBoolArray(const char* name, const bool* values, int count, const char* domain = nullptr) = 0;
    virtual void SetIntArray(const char* name, const int* values, int count, const char* domain = nullptr) = 0;
    virtual void SetStringArray(const char* name, const char* const* values, int count,
                                const char* domain = nullptr) = 0;
    virtual void SetDoubleArray(const char* name, const double* values, int count,
                                const char* domain = nullptr) = 0;
    virtual void SetHexArray(const char* name, const unsigned char* const* values, int length_of_item, int count,
                             const char* domain = nullptr) = 0;
};

class XmlConfig : public ConfigInterface {
public:
    explicit XmlConfig(bool writable);
    ~XmlConfig() override;  // syncs a writable store

    // A missing file is created with the default document. A file that cannot
    // be read or is damaged is reported and left as it is; the store keeps
    // its previous document (if any).
    bool Load(const char* fileName) override;
    bool Sync() override;

    bool GetBool(const char* name, bool* value, const char* domain) override;
    bool GetInt(const char* name, int* value, const char* domain) override;
    bool GetString(const char* name, char* value, int length, const char* domain) override;
    bool GetDouble(const char* name, double* value, const char* domain) override;
    bool GetHex(const char* name, unsigned char* value, int len, const char* domain) override;
    bool GetBoolArray(const char* name, bool* values, int count, const char* domain) override;
    bool GetIntArray(const char* name, int* values, int count, const char* domain) override;
    bool GetStringArray(const char* name, char* const* values, int length, int count,
                        const char* domain) override;
    bool GetDoubleArray(const char* name, double* values, int count, const char* domain) override;
    bool GetHexArray(const char* name, unsigned char* const* values, int length_of_item, int count,
                     const char* domain) override;

    void SetBool(const char* name, bool value, const char* domain) override;
    void SetInt(const char* name, int value, const char* domain) override;
    void SetString(const char* name, const char* value, const char* domain) override;
    void SetDouble(const char* name, double value, const char* domain) override;
    void SetHex(const char* name, const unsigned char* value, int len, const char* domain) override;
    void SetBoolArray(const char* name, const bool* values, int count, const char* domain) override;
    void SetIntArray(const char* name, const int* values, int count, const char* domain) override;
    void SetStringArray(const char* name, const char* const* values, int count, const char* domain) override;
    void SetDoubleArray(const char* name, const double* values, int count, const char* domain) override;
    void SetHexArray(const char* name, const unsigned char* const* values, int length_of_item, int count,
                     const char* domain) override;

    // Writes the default document to the file (atomically); true on success.
    virtual bool WriteDefault(const char* fileName);

    // The loader's core: takes a document from memory (any bytes) as if read
    // from the named file. False, with a message, when the text is refused.
    bool LoadText(const char* data, size_t length, const char* fileName);

private:
    TiXmlElement* FindDomain(const char* domain);
    TiXmlElement* FindScalar(const char* type, const char* name, const char* domain);
    TiXmlElement* FindArray(TiXmlElement* parent, const char* type, const char* name);
    const char* ScalarText(const char* type, const char* name, const char* domain);
    void SetScalar(const char* type, const char* name, const char* text, const char* domain, int hexLength);
    TiXmlElement* NewArray(const char* type, const char* name, int count, const char* domain, int itemLength);
    TiXmlElement* ArrayItems(const char* type, const char* name, const char* domain);

    std::unique_ptr<TiXmlDocument> doc;
    TiXmlElement* root = nullptr;
    char fileName[256] = "";
    bool changed = true;
    bool writable;
};

// The store the application uses: converts a file in the older text form on
// first use, then keeps one XmlConfig over the file.
class Config : public ConfigInterface {
public:
    Config(const char* fileName, bool writable);
    ~Config() override;

    bool Load(const char* fileName) override;
    bool Sync() override;

    bool GetBool(const char* name, bool* value, const char* domain = nullptr) override;
    bool GetInt(const char* name, int* value, const char* domain = nullptr) override;
    bool GetString(const char* name, char* value, int length, const char* domain = nullptr) override;
    bool GetDouble(const char* name, double* value, const char* domain = nullptr) override;
    bool GetHex(const char* name, unsigned char* value, int len, const char* domain = nullptr) override;
    bool GetBoolArray(const char* name, bool* values, int count, const char* domain = nullptr) override;
    bool GetIntArray(const char* name, int* values, int count, const char* domain = nullptr) override;
    bool GetStringArray(const char* name, char* const* values, int length, int count,
                        const char* domain = nullptr) override;
    bool GetDoubleArray(const char* name, double* values, int count, const char* domain = nullptr) override;
    bool GetHexArray(const char* name, unsigned char* const* values, int length_of_item, int count,
                     const char* domain = nullptr) override;

    void SetBool(const char* name, bool value, const char* domain = nullptr) override;
    void SetInt(const char* name, int value, const char* domain = nullptr) override;
    void SetString(const char* name, const char* value, const char* domain = nullptr) override;
    void SetDouble(const char* name, double value, const char* domain = nullptr) override;
    void SetHex(const char* name, const unsigned char* value, int len, const char* domain = nullptr) override;
    void SetBoolArray(const char* name, const bool* values, int count, const char* domain = nullptr) override;
    void SetIntArray(const char* name, const int* values, int count, const char* domain = nullptr) override;
    void SetStringArray(const char* name, const char* const* values, int count,
                        const char* domain = nullptr) override;
    void SetDoubleArray(const char* name, const double* values, int count, const char* domain = nullptr) override;
    void SetHexArray(const char* name, const unsigned char* const* values, int length_of_item, int count,
                     const char* domain = nullptr) override;

private:
    std::unique_ptr<XmlConfig> xml;
};

// One line of the older text form.
struct OldConfigItem {
    char type;            // 'b' bool, 'i' int, 'd' double, 's' string, 'h' hex, 'c' comment line
    char name[33];
    bool boolValue;
    int intValue;
    double doubleValue;
    char stringValue[128];
    unsigned char hexValue[128];
    int hexLength;
    char comment[129];
};

// The older line-oriented text form; read only to convert it. Domains do not
// exist there and are ignored; arrays are not kept.
class OldConfig : public ConfigInterface {
public:
    static constexpr int MaxItems = 512;

    explicit OldConfig(bool writable);

    bool Load(const char* fileName) override;  // Read() == TINYCFG_OK
    bool Sync() override;

    // Reads the file; TINYCFG_ERR_XML for a file in the XML form, TINYCFG_ERR_DAMAGED
    // (with a message) for text that does not hold the items without loss.
    int Read(const char* fileName);
    // The reader's core over any bytes; an empty text is a store without items.
    int Parse(const char* data, size_t length);
    // Writes every item in the text form (atomically); false with a message.
    bool WriteTo(const char* fileName) const;
    // Sets every value item at the root of another store (comments are dropped).
    void CopyTo(ConfigInterface& target) const;
    int ItemCount() const { return static_cast<int>(items.size()); }

    bool GetBool(const char* name, bool* value, const char* domain) override;
    bool GetInt(const char* name, int* value, const char* domain) override;
    bool GetString(const char* name, char* value, int length, const char* domain) override;
    bool GetDouble(const char* name, double* value, const char* domain) override;
    bool GetHex(const char* name, unsigned char* value, int len, const char* domain) override;
    bool GetBoolArray(const char* name, bool* values, int count, const char* domain) override;
    bool GetIntArray(const char* name, int* values, int count, const char* domain) override;
    bool GetStringArray(const char* name, char* const* values, int length, int count,
                        const char* domain) override;
    bool GetDoubleArray(const char* name, double* values, int count, const char* domain) override;
    bool GetHexArray(const char* name, unsigned char* const* values, int length_of_item, int count,
                     const char* domain) override;

    void SetBool(const char* name, bool value, const char* domain) override;
    void SetInt(const char* name, int value, const char* domain) override;
    void SetString(const char* name, const char* value, const char* domain) override;
    void SetDouble(const char* name, double value, const char* domain) override;
    void SetHex(const char* name, const unsigned char* value, int len, const char* domain) override;
    void SetBoolArray(const char* name, const bool* values, int count, const char* domain) override;
    void SetIntArray(const char* name, const int* values, int count, const char* domain) override;
    void SetStringArray(const char* name, const char* const* values, int count, const char* domain) override;
    void SetDoubleArray(const char* name, const double* values, int count, const char* domain) override;
    void SetHexArray(const char* name, const unsigned char* const* values, int length_of_item, int count,
                     const char* domain) override;

private:
    const OldConfigItem* Find(const char* name, char type) const;
    OldConfigItem* Slot(const char* name, char type);

    std::vector<OldConfigItem> items;  // at most MaxItems
    const char* fault = nullptr;       // why the last Parse refused the text
    int faultLine = 0;
    char fileName[121] = "";
    bool changed = false;
    bool writable;
};
