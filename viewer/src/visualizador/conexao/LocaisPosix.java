package visualizador.conexao;

import java.nio.file.Path;
import java.util.List;
import visualizador.dados.Ambiente;

/**
 * Linux: ~/.pg_service.conf, then pg_service.conf in $PGSYSCONFDIR or Debian's
 * /etc/postgresql-common; ~/.pgpass, which must be private to its owner.
 */
record LocaisPosix(Ambiente amb) implements Locais {
    private static final Path SISTEMA_PADRAO = Path.of("/etc/postgresql-common");

    @Override
    public List<Path> servicos() {
        final String arquivo = amb.variavel("PGSERVICEFILE");
        final String sistema = amb.variavel("PGSYSCONFDIR");
        return List.of(arquivo != null ? Path.of(arquivo) : amb.home().resolve(".pg_service.conf"),
                (sistema != null ? Path.of(sistema) : SISTEMA_PADRAO).resolve("pg_service.conf"));
    }

    @Override
    public Path senhasPadrao() {
        return amb.home().resolve(".pgpass");
    }

    @Override
    public boolean exigeSenhasPrivadas() {
        return true;
    }
}
