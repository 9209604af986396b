#pragma once

#include "store/ModelContainer.h"
#include "store/ModelContext.h"
#include "store/PersistentModel.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace store_testing {

class Note;

// A folder owns its notes: deleting it deletes them.
class Folder : public store::PersistentModel {
public:
    explicit Folder(std::string title)
        : title_(std::move(title)) {}
    static const store::EntityDescription& entity();
    const store::EntityDescription& entityDescription() const override { return entity(); }

    const std::string& title() const { return read(&Folder::title_); }
    void setTitle(std::string title) { write(&Folder::title_, std::move(title)); }
    std::vector<std::shared_ptr<Note>> notes() const { return readToMany(&Folder::notes_, "notes"); }

private:
    friend class Note;
    Folder() = default;
    std::string title_;
    store::ToMany<Note> notes_;
};

class Note : public store::PersistentModel {
public:
    explicit Note(std::string title, std::optional<std::int64_t> rank = std::nullopt, double created = 0)
        : title_(std::move(title))
        , rank_(rank)
        , created_(created) {}
    static const store::EntityDescription& entity();
    const store::EntityDescription& entityDescription() const override { return entity(); }

    const std::string& title() const { return read(&Note::title_); }
    void setTitle(std::string title) { write(&Note::title_, std::move(title)); }
    bool done() const { return read(&Note::done_); }
    void setDone(bool done) { write(&Note::done_, done); }
    std::optional<std::int64_t> rank() const { return read(&Note::rank_); }
    void setRank(std::optional<std::int64_t> rank) { write(&Note::rank_, rank); }
    double created() const { return read(&Note::created_); }
    std::shared_ptr<Folder> folder() const { return readToOne(&Note::folder_); }
    void setFolder(std::shared_ptr<Folder> folder) {
        writeToOne(&Note::folder_, std::move(folder), "folder");
    }

private:
    Note() = default;
    std::string title_;
    bool done_ = false;
    std::optional<std::int64_t> rank_;
    double created_ = 0;
    store::ToOne<Folder> folder_;
};

inline const store::EntityDescription& Folder::entity() {
    static const store::EntityDescription description{
        "Folder",
        {store::attribute("title", &Folder::title_)},
        {store::toMany("notes", &Folder::notes_, store::DeleteRule::cascade)},
        [] { return std::shared_ptr<store::PersistentModel>(new Folder()); },
    };
    return description;
}

inline const store::EntityDescription& Note::entity() {
    static const store::EntityDescription description{
        "Note",
        {store::attribute("title", &Note::title_), store::attribute("done", &Note::done_),
         store::attribute("rank", &Note::rank_), store::attribute("created", &Note::created_)},
        {store::toOne("folder", &Note::folder_, store::DeleteRule::nullify, "notes", &Folder::notes_)},
        [] { return std::shared_ptr<store::PersistentModel>(new Note()); },
    };
    return description;
}

inline store::Schema testSchema() {
    return store::Schema::of<Folder, Note>();
}

inline store::ModelConfiguration fileConfiguration(const std::filesystem::path& file) {
    store::ModelConfiguration configuration;
    configuration.url = file;
    return configuration;
}

inline store::ModelConfiguration inMemory() {
    store::ModelConfiguration configuration;
    configuration.isStoredInMemoryOnly = true;
    return configuration;
}

template <class T> std::vector<std::string> titles(const std::vector<std::shared_ptr<T>>& models) {
    std::vector<std::string> result;
    for (const auto& model : models)
        result.push_back(model->title());
    return result;
}

} // namespace store_testing
