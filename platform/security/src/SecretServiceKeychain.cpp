#include "security/KeychainBackend.h"

#include <libsecret/secret.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

namespace security {

namespace {

// Our own schema: items of other programs never match its searches.
const SecretSchema* schema() {
    static const SecretSchema ours = [] {
        SecretSchema s{};
        s.name = "org.quoril.Keychain";
        s.flags = SECRET_SCHEMA_NONE;
        s.attributes[0] = {"service", SECRET_SCHEMA_ATTRIBUTE_STRING};
        s.attributes[1] = {"account", SECRET_SCHEMA_ATTRIBUTE_STRING};
        s.attributes[2] = {"accessGroup", SECRET_SCHEMA_ATTRIBUTE_STRING};
        s.attributes[3] = {"accessible", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return s;
    }();
    return &ours;
}

template <class T> struct GObjectPtr {
    T* p = nullptr;
    GObjectPtr() = default;
    explicit GObjectPtr(T* object)
        : p(object) {}
    GObjectPtr(const GObjectPtr&) = delete;
    GObjectPtr& operator=(const GObjectPtr&) = delete;
    ~GObjectPtr() {
        if (p) g_object_unref(p);
    }
};

struct Attributes {
    GHashTable* table = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free);
    ~Attributes() { g_hash_table_unref(table); }
    void put(const char* name, const std::optional<std::string>& value) {
        if (value) g_hash_table_insert(table, g_strdup(name), g_strdup(value->c_str()));
    }
};

struct ItemList {
    GList* items = nullptr;
    ~ItemList() { g_list_free_full(items, g_object_unref); }
};

// Without a session bus there is nothing to ask, and asking could start one.
bool sessionBusExists() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code error;
    return runtime && *runtime && std::filesystem::exists(std::filesystem::path(runtime) / "bus", error);
}

// A running Secret Service, asked without activating one (which could prompt).
bool secretServiceRuns() {
    if (!sessionBusExists()) return false;
    GError* error = nullptr;
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
    if (!bus.p) {
        g_clear_error(&error);
        return false;
    }
    GVariant* reply = g_dbus_connection_call_sync(
        bus.p, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", "org.freedesktop.secrets"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 2000,
        nullptr, &error);
    if (!reply) {
        g_clear_error(&error);
        return false;
    }
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    return owned;
}

std::optional<std::string> attribute(SecretItem* item, const char* name) {
    GHashTable* table = secret_item_get_attributes(item);
    std::optional<std::string> value;
    if (const auto* text = static_cast<const char*>(g_hash_table_lookup(table, name))) value = text;
    g_hash_table_unref(table);
    return value;
}

class SecretServiceKeychain : public KeychainBackend {
public:
    OSStatus add(const ItemQuery& query) override {
        std::lock_guard lock(mutex_);
        SecretService* service = connect();
        if (!service || query.attributes.itemClass != kSecClassGenericPassword) return errSecNotAvailable;
        // The primary key: class, service, account and access group, an absent group included.
        ItemQuery key;
        key.attributes = query.attributes;
        key.attributes.accessible.reset();
        ItemList found;
        if (!search(service, key, SECRET_SEARCH_ALL, found)) return errSecNotAvailable;
        for (GList* node = found.items; node; node = node->next)
            if (attribute(SECRET_ITEM(node->data), "accessGroup") == query.attributes.accessGroup)
                return errSecDuplicateItem;

        GError* error = nullptr;
        GObjectPtr<SecretCollection> collection(secret_collection_for_alias_sync(
            service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, nullptr, &error));
        g_clear_error(&error);
        if (!collection.p || secret_collection_get_locked(collection.p)) return errSecNotAvailable;
        const auto& bytes = query.valueData ? *query.valueData : foundation::Data{};
        SecretValue* value = secret_value_new(reinterpret_cast<const gchar*>(bytes.data()),
                                              gssize(bytes.size()), "application/octet-stream");
        const std::string label = query.attributes.service.value_or("") + " " + account(query).value_or("");
        GObjectPtr<SecretItem> item(secret_item_create_sync(collection.p, schema(), attributes(query).table,
                                                            label.c_str(), value, SECRET_ITEM_CREATE_NONE,
                                                            nullptr, &error));
        secret_value_unref(value);
        g_clear_error(&error);
        return item.p ? errSecSuccess : errSecNotAvailable;
    }

    OSStatus update(const ItemQuery& match, const ItemQuery& changes) override {
        std::lock_guard lock(mutex_);
        SecretService* service = connect();
        if (!service) return errSecNotAvailable;
        ItemList found;
        if (!search(service, match, SECRET_SEARCH_ALL, found)) return errSecNotAvailable;
        if (!found.items) return errSecItemNotFound;
        if (!changes.valueData) return errSecSuccess;
        for (GList* node = found.items; node; node = node->next) {
            auto* item = SECRET_ITEM(node->data);
            if (secret_item_get_locked(item)) return errSecNotAvailable;
            SecretValue* value =
                secret_value_new(reinterpret_cast<const gchar*>(changes.valueData->data()),
                                 gssize(changes.valueData->size()), "application/octet-stream");
            GError* error = nullptr;
            const bool written = secret_item_set_secret_sync(item, value, nullptr, &error);
            secret_value_unref(value);
            g_clear_error(&error);
            if (!written) return errSecNotAvailable;
        }
        return errSecSuccess;
    }

    CopyResult copyMatching(const ItemQuery& query) override {
        std::lock_guard lock(mutex_);
        SecretService* service = connect();
        if (!service) return {errSecNotAvailable, {}, {}};
        ItemList found;
        const auto flags =
            query.returns == ItemQuery::Return::data ? SECRET_SEARCH_LOAD_SECRETS : SECRET_SEARCH_NONE;
        if (!search(service, query, flags, found)) return {errSecNotAvailable, {}, {}};
        if (!found.items) return {};
        auto* item = SECRET_ITEM(found.items->data);
        CopyResult result{errSecSuccess, {}, {}};
        switch (query.returns) {
        case ItemQuery::Return::data: {
            SecretValue* value = secret_item_get_secret(item);
            if (!value) return {errSecNotAvailable, {}, {}}; // locked
            gsize length = 0;
            const gchar* bytes = secret_value_get(value, &length);
            result.data = foundation::Data(bytes, bytes + length);
            secret_value_unref(value);
            break;
        }
        case ItemQuery::Return::persistentRef: {
            const std::string path = g_dbus_proxy_get_object_path(G_DBUS_PROXY(item));
            result.data = foundation::Data(path.begin(), path.end());
            break;
        }
        case ItemQuery::Return::attributes: {
            ItemAttributes attributes;
            attributes.service = attribute(item, "service");
            attributes.account = attribute(item, "account");
            attributes.generic = attributes.account;
            attributes.accessGroup = attribute(item, "accessGroup");
            attributes.accessible = attribute(item, "accessible");
            result.attributes = std::move(attributes);
            break;
        }
        case ItemQuery::Return::nothing:
            break;
        }
        return result;
    }

    OSStatus remove(const ItemQuery& query) override {
        std::lock_guard lock(mutex_);
        SecretService* service = connect();
        if (!service) return errSecNotAvailable;
        ItemList found;
        if (!search(service, query, SECRET_SEARCH_ALL, found)) return errSecNotAvailable;
        if (!found.items) return errSecItemNotFound;
        for (GList* node = found.items; node; node = node->next) {
            GError* error = nullptr;
            const bool deleted = secret_item_delete_sync(SECRET_ITEM(node->data), nullptr, &error);
            g_clear_error(&error);
            if (!deleted) return errSecNotAvailable;
        }
        return errSecSuccess;
    }

private:
    static std::optional<std::string> account(const ItemQuery& query) {
        return query.attributes.account ? query.attributes.account : query.attributes.generic;
    }

    static Attributes attributes(const ItemQuery& query) {
        Attributes table;
        table.put("service", query.attributes.service);
        table.put("account", account(query));
        table.put("accessGroup", query.attributes.accessGroup);
        table.put("accessible", query.attributes.accessible);
        return table;
    }

    // Only generic passwords live here; other classes find nothing. False when the service fails.
    static bool search(SecretService* service, const ItemQuery& query, SecretSearchFlags flags,
                       ItemList& found) {
        if (query.attributes.itemClass != kSecClassGenericPassword) return true;
        GError* error = nullptr;
        const Attributes table = attributes(query);
        found.items = secret_service_search_sync(service, schema(), table.table, flags, nullptr, &error);
        const bool failed = error != nullptr;
        g_clear_error(&error);
        return !failed;
    }

    SecretService* connect() {
        if (service_.p) return service_.p;
        if (!secretServiceRuns()) return nullptr;
        GError* error = nullptr;
        service_.p = secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, nullptr, &error);
        g_clear_error(&error);
        return service_.p;
    }

    std::mutex mutex_;
    GObjectPtr<SecretService> service_;
};

} // namespace

std::shared_ptr<KeychainBackend> makeSecretServiceKeychain() {
    return std::make_shared<SecretServiceKeychain>();
}

} // namespace security
