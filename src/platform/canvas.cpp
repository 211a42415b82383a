// Filled by its issue.
