#pragma once
// The first time a book is opened on a machine its local store is empty: settings, reference
// data and the listings are fetched then, once per process and book. Open pages hear the
// listings arrive through the usual change announcements.
namespace FirstBookDownload {

// Starts the downloads when the book has never been synced here and holds no listings.
// Returns whether they were started.
bool startIfNeeded(bool isJointSale);

} // namespace FirstBookDownload
