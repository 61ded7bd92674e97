// Placeholder: replaced by its implementation.
