namespace devical::storage {}
