// This layer has no units yet; the library needs one source to exist.
int morv_placeholder_app_tables = 0;
