# Placeholder until the image generator lands: no generated sources yet.
set(KV_BUILTIN_IMAGE_SOURCES "")
