#pragma once
// The first time a book is opened on a machine its local store is empty: settings, reference
// data and the listings are fetched then, once per process and book. Open pages hear the
// listings arrive through the usual change announcements, and follow the download through
// BookSyncStatus.
namespace FirstBookDownload {

// Starts the downloads when the book has never been synced here and holds no listings, and
// they have not been started in this process yet. Returns whether they were started.
bool startIfNeeded(bool isJointSale);
// Starts them again (a retry after a failure) unless they are running, no user is signed in
// or the login window is in front. Returns whether they were started.
bool restart(bool isJointSale);
// Whether the downloads of this book are under way in this process.
bool isRunning(bool isJointSale);

} // namespace FirstBookDownload
