#include "feed/service/FeedLogging.h"

Q_LOGGING_CATEGORY(lcFeed, "caltrix.feed")
