#include "acquisition/qt/AcquisitionProfile.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

namespace caltrix {

// A profile without a storage name is off the record.
QWebEngineProfile* NewOffTheRecordProfile() {
    auto* created = new QWebEngineProfile(QCoreApplication::instance());
    created->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    created->setHttpCacheMaximumSize(16 * 1024 * 1024);
    created->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    return created;
}

QWebEngineProfile* AcquisitionProfile() {
    static QWebEngineProfile* profile = [] {
        QWebEngineProfile* created = NewOffTheRecordProfile();
        created->setHttpCacheType(QWebEngineProfile::NoCache);
        return created;
    }();
    return profile;
}

}  // namespace caltrix
