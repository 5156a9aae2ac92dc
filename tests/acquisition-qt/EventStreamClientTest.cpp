// The screen's event stream client against a local server that holds the
// stream open and pushes events on demand.
#include "acquisition/qt/EventStream.h"
#include "common/qt/TimeScale.h"
#include "tests/support/PageLoading.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

namespace caltrix {
namespace {

using testing::Answer;
using testing::HttpAnswer;
using testing::WaitUntil;

const QString kEvents = QStringLiteral("/feed/events");

QByteArray pageEvent(int version, int configuration) {
    const QByteArray number = QByteArray::number(version);
    return "event: page\nid: " + number + "\ndata: {\"version\":" + number + ",\"page\":" + number +
           ",\"config\":" + QByteArray::number(configuration) + ",\"time\":\"2026-12-09T21:30:05.120Z\"}\n\n";
}

HttpAnswer streamAnswer(QByteArray body, QByteArray type = "text/event-stream") {
    HttpAnswer answer = Answer(200, std::move(body), std::move(type));
    answer.stream = true;
    return answer;
}

class EventStreamClient : public ::testing::Test {
protected:
    void SetUp() override { SetTimeScale(0.01); }  // reopening after 5 to 15 ms, a refusal waits 6 s
    void TearDown() override { SetTimeScale(1.0); }

    std::unique_ptr<EventStream> follow() {
        QUrl address = m_server.BaseUrl();
        address.setPath(kEvents);
        auto stream = std::make_unique<EventStream>(address, [] { return 0.5; });
        QObject::connect(stream.get(), &EventStream::newVersion, [this](qint64 page) { m_versions.push_back(page); });
        stream->Start();
        return stream;
    }

    testing::TestHttpServer m_server;
    std::vector<qint64> m_versions;
};

TEST_F(EventStreamClient, FollowsNewVersionsAndReopensADroppedStreamWithTheLastEventId) {
    m_server.Serve(kEvents, streamAnswer(": welcome\n\n" + pageEvent(3, 1)));
    const auto stream = follow();
    ASSERT_TRUE(WaitUntil([&] { return m_versions.size() == 1; }, 5000));
    EXPECT_EQ(stream->CurrentState(), EventStream::State::Connected);
    EXPECT_EQ(stream->LastVersion()->configuration, 1);

    // The same version again says nothing new; a new one does, also split
    // over two writes.
    const QByteArray next = pageEvent(4, 2);
    m_server.Push(pageEvent(3, 1) + ":\n" + next.left(20));
    m_server.Push(next.mid(20));
    ASSERT_TRUE(WaitUntil([&] { return m_versions.size() == 2; }, 5000));
    EXPECT_EQ(m_versions, (std::vector<qint64>{3, 4}));

    // The server goes away and comes back, counting anew: the screen follows
    // again, and told it which event it saw last.
    m_server.EndStreams();
    ASSERT_TRUE(WaitUntil([&] { return m_versions.size() == 3; }, 5000));
    EXPECT_EQ(m_versions.back(), 3);
    EXPECT_TRUE(m_server.Requests(kEvents).last().head.contains("\r\nLast-Event-ID: 4\r\n"));
    EXPECT_EQ(stream->CurrentState(), EventStream::State::Connected);
}

TEST_F(EventStreamClient, ASiteWithoutAStreamIsAskedAgainOnlyAfterTenMinutes) {
    for (const HttpAnswer& answer : {Answer(404, "not here"), Answer(405, ""), Answer(200, "<html></html>")}) {
        SCOPED_TRACE(answer.status);
        m_server.Serve(kEvents, answer);
        const int before = m_server.Hits(kEvents);
        const auto stream = follow();
        ASSERT_TRUE(WaitUntil([&] { return stream->CurrentState() == EventStream::State::Refused; }, 5000));
        EXPECT_GE(stream->MillisecondsToNextAttempt().value_or(0), 5000);  // 10 min at this scale, less the wait
        WaitUntil([] { return false; }, 300);
        EXPECT_EQ(m_server.Hits(kEvents), before + 1);
    }
}

TEST_F(EventStreamClient, GarbageOrAFirstLineThatNeverEndsIsDroppedAndReopenedLater) {
    const QByteArray endless(EventStreamParser::kMaxLineBytes / 2, 'x');
    m_server.Serve(kEvents, streamAnswer(endless));
    const auto stream = follow();
    ASSERT_TRUE(WaitUntil([&] { return stream->CurrentState() == EventStream::State::Connected; }, 5000));
    m_server.Push(endless + endless);
    ASSERT_TRUE(WaitUntil([&] { return m_server.Hits(kEvents) >= 2; }, 5000)) << "not reopened";
    EXPECT_TRUE(m_versions.empty());

    // Lines that are no event, however many: the stream is given up.
    m_server.Serve(kEvents, streamAnswer({}));
    const int before = m_server.Hits(kEvents);
    ASSERT_TRUE(WaitUntil([&] { return m_server.Push("event: page\ndata: nonsense\n\n"); }, 5000));
    const QByteArray lines = QByteArray("garbage\n").repeated(1000);
    ASSERT_TRUE(WaitUntil(
        [&] {
            m_server.Push(lines);
            return m_server.Hits(kEvents) > before + 1;
        },
        10000));
    EXPECT_TRUE(m_versions.empty());
}

}  // namespace
}  // namespace caltrix
