// Replaced by the database access classes.
