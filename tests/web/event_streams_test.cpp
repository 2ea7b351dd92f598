// The event-stream hub on socket pairs: what a stream is sent (the head, a
// greeting or the missed events, then its topic's events and heartbeats),
// the cap per client address, a bad topic, and clients that leave or stop
// reading.
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "web/event_streams.h"

namespace web {
namespace {

using namespace std::chrono_literals;

// One client's end of a stream; the other end goes to the hub.
struct Pair {
  Pair() {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
    client = fds[0];
    server = fds[1];
    ::fcntl(server, F_SETFL, ::fcntl(server, F_GETFL) | O_NONBLOCK);
  }
  ~Pair() {
    if (client >= 0) ::close(client);
  }
  // What arrived within `wait` (reads until quiet).
  std::string Read(std::chrono::milliseconds wait = 300ms) {
    std::string out;
    pollfd p{client, POLLIN, 0};
    while (::poll(&p, 1, static_cast<int>(wait.count())) > 0) {
      char buf[4096];
      ssize_t n = ::recv(client, buf, sizeof buf, 0);
      if (n <= 0) break;
      out.append(buf, static_cast<size_t>(n));
      wait = std::min(wait, std::chrono::milliseconds(50));
    }
    return out;
  }
  int client = -1;
  int server = -1;
};

StreamLimits Small() {
  StreamLimits l;
  l.per_client = 2;
  l.heartbeat = 1000ms;
  l.replay = 3;
  l.max_unsent = 4096;
  return l;
}

TEST(EventStreams, AStreamIsGreetedThenSentItsTopicsEventsAndHeartbeats) {
  StreamHub hub(Small());
  hub.Start();
  Pair a, b;
  ASSERT_EQ(hub.Adopt(a.server, "10.0.0.1", "stage|100米|高中组|男||1", ""), 200);
  ASSERT_EQ(hub.Adopt(b.server, "10.0.0.2", "home", ""), 200);
  std::string head = a.Read();
  EXPECT_TRUE(head.starts_with("HTTP/1.1 200 OK\r\n")) << head;
  EXPECT_NE(head.find("Content-Type: text/event-stream"), std::string::npos);
  EXPECT_NE(head.find("event: hello\ndata: {\"topic_changed\":0}"), std::string::npos) << head;
  b.Read();

  std::string id = hub.Publish("stage|100米|高中组|男||1", "change", "{\"n\":1}");
  EXPECT_EQ(a.Read(), "id: " + id + "\nevent: change\ndata: {\"n\":1}\n\n");
  EXPECT_EQ(b.Read(100ms), "");  // another topic hears nothing

  std::this_thread::sleep_for(1100ms);
  EXPECT_NE(b.Read().find(": \n\n"), std::string::npos) << "heartbeat";
  hub.Stop();
}

TEST(EventStreams, AReconnectIsSentWhatItMissedAndAStrangerIdIsGreeted) {
  StreamHub hub(Small());
  hub.Start();
  const std::string topic = "stage|跳远|初中组|女||4";
  std::string first = hub.Publish(topic, "change", "1");
  std::string second = hub.Publish(topic, "change", "2");
  std::string third = hub.Publish(topic, "change", "3");

  Pair back;
  ASSERT_EQ(hub.Adopt(back.server, "10.0.0.1", topic, first), 200);
  std::string got = back.Read();
  EXPECT_EQ(got.find("data: 1\n"), std::string::npos);
  EXPECT_NE(got.find("id: " + second + "\nevent: change\ndata: 2\n\n"), std::string::npos) << got;
  EXPECT_NE(got.find("id: " + third + "\nevent: change\ndata: 3\n\n"), std::string::npos) << got;
  EXPECT_EQ(got.find("hello"), std::string::npos);

  // An id from another start of the server (or made up) may have missed
  // anything: the greeting says when the topic last changed.
  for (const std::string& id : std::vector<std::string>{"1-3", "garbage", first.substr(0, first.find('-')) + "-99999999999"}) {
    Pair other;
    ASSERT_EQ(hub.Adopt(other.server, "10.0.0.2", topic, id), 200);
    got = other.Read();
    EXPECT_NE(got.find("event: hello\n"), std::string::npos) << id;
    EXPECT_EQ(got.find("topic_changed\":0"), std::string::npos) << id;
  }
  hub.Stop();
}

TEST(EventStreams, TooManyStreamsOfOneClientAreRefusedAndALeavingClientFreesItsPlace) {
  StreamHub hub(Small());
  hub.Start();
  Pair one, two, three, elsewhere, bad;
  ASSERT_EQ(hub.Adopt(one.server, "10.0.0.1", "home", ""), 200);
  ASSERT_EQ(hub.Adopt(two.server, "10.0.0.1", "home", ""), 200);
  EXPECT_EQ(hub.Adopt(three.server, "10.0.0.1", "home", ""), 429);
  EXPECT_TRUE(three.Read().starts_with("HTTP/1.1 429 Too Many Requests\r\n"));
  EXPECT_EQ(hub.Adopt(elsewhere.server, "10.0.0.9", "home", ""), 200);
  EXPECT_EQ(hub.Adopt(bad.server, "10.0.0.9", std::string("a\nb"), ""), 400);
  EXPECT_EQ(hub.streams_of("10.0.0.1"), 2u);

  ::close(one.client);
  one.client = -1;
  for (int i = 0; i < 50 && hub.streams_of("10.0.0.1") != 1; ++i) std::this_thread::sleep_for(20ms);
  EXPECT_EQ(hub.streams_of("10.0.0.1"), 1u);
  Pair again;
  EXPECT_EQ(hub.Adopt(again.server, "10.0.0.1", "home", ""), 200);
  hub.Stop();
  EXPECT_EQ(hub.streams(), 0u);
}

TEST(EventStreams, AClientThatReadsNothingIsDroppedWithoutHoldingUpTheOthers) {
  StreamHub hub(Small());
  hub.Start();
  Pair stuck, reader;
  int small = 4096;
  ::setsockopt(stuck.server, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  ASSERT_EQ(hub.Adopt(stuck.server, "10.0.0.1", "home", ""), 200);
  ASSERT_EQ(hub.Adopt(reader.server, "10.0.0.2", "home", ""), 200);
  reader.Read();
  const std::string big(1000, 'x');
  size_t got = 0;
  for (int i = 0; i < 400; ++i) {
    hub.Publish("home", "change", big);
    got += reader.Read(1ms).size();
  }
  got += reader.Read().size();
  EXPECT_GT(got, 400u * 1000u);
  EXPECT_EQ(hub.streams(), 1u);
  hub.Stop();
}

}  // namespace
}  // namespace web
