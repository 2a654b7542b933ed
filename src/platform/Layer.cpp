// Placeholder until this layer has sources.
