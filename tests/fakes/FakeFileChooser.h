#pragma once

#include "ui/FileChooser.h"

#include <vector>

namespace lumeris {

// Answers every request at once with `answer` and keeps the requests.
class FakeFileChooser : public FileChooser {
public:
    void chooseFileToOpen(const FileChooserRequest& request, Chosen chosen) override {
        opened.push_back(request);
        chosen(answer);
    }
    void chooseFileToSave(const FileChooserRequest& request, Chosen chosen) override {
        saved.push_back(request);
        chosen(answer);
    }

    std::optional<std::filesystem::path> answer;
    std::vector<FileChooserRequest> opened;
    std::vector<FileChooserRequest> saved;
};

} // namespace lumeris
