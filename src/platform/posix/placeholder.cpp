// Keeps the library non-empty until the platform files arrive; delete when one exists.
namespace rq508 {}
