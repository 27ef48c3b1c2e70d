#include "app/record_at.h"

#include <gtest/gtest.h>

#include "fakes/fake_ui.h"

TEST(RecordAt, CountsFromOne) {
    fake::resetUi();
    const ExtractionResult record{{"a", "b", "c"}, {0, 5, 9}};
    EXPECT_EQ(recordAt(record, 1), "a");
    EXPECT_EQ(recordAt(record, 3), "c");
}

TEST(RecordAt, IndexOutsideTheArrayIsFatalErrorOne) {
    fake::resetUi();
    const ExtractionResult start;  // the record the program starts with: one empty text
    EXPECT_EQ(recordAt(start, 1), "");
    const ExtractionResult none{{}, {}};
    struct Case {
        const ExtractionResult* record;
        int32_t index;
    };
    for (const Case& c : {Case{&start, 2}, Case{&start, 0}, Case{&start, -1}, Case{&none, 1},
                          Case{&start, 2147483647}, Case{&start, -2147483647 - 1}}) {
        SCOPED_TRACE(c.index);
        try {
            recordAt(*c.record, c.index);
            ADD_FAILURE() << "no fatal error";
        } catch (const fake::FatalError& error) {
            EXPECT_EQ(error.code, 1);
            EXPECT_EQ(error.message, "数组成员引用下标超出定义范围");
        }
    }
}
