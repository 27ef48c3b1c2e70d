#include "app/record_at.h"

#include "ui/controls.h"

const Text& recordAt(const ExtractionResult& record, int32_t index) {
    if (index < 1 || static_cast<uint64_t>(index) > record.texts.size())
        reportFatalError(1, "数组成员引用下标超出定义范围");
    return record.texts[static_cast<size_t>(index - 1)];
}
