// Filled in by the layer's implementation.
