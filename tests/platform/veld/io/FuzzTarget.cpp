#include "tests/platform/veld/io/FuzzTarget.hpp"

#include "platform/veld/io/MetaModelFile.hpp"
#include "platform/veld/io/ModelFile.hpp"
#include "tests/platform/veld/SampleMetaModel.hpp"
#include "tests/platform/veld/io/IoTestSupport.hpp"

void veldIoFuzzSetUp() {
    IoMeta::get();
    Sample::get();
}

void veldIoFuzzOne(std::string_view bytes) {
    try {
        VELD::Model model = VELD::readModel(bytes, "fuzz");
        // What loads must save and load again to the same bytes.
        const std::string saved = VELD::writeModel(model);
        if (VELD::writeModel(VELD::readModel(saved, "fuzz again")) != saved)
            throw std::logic_error("a loaded model does not survive saving and loading");
    } catch (const VELD::FileError&) {
    }
    try {
        VELD::readMetaModel(bytes, "fuzz");
    } catch (const VELD::FileError&) {
    }
}
