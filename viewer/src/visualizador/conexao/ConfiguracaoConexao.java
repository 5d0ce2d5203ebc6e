package visualizador.conexao;

import java.net.URLEncoder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Properties;
import java.util.function.Consumer;
import visualizador.ErroRelatorio;
import visualizador.dados.Ambiente;

/**
 * A connection service turned into the hosts to try and the driver's properties, as libpq
 * would use it: the service's keys first, then the PG* environment variables for keys it leaves
 * out. Keys the driver cannot honour are named in a warning rather than dropped in silence.
 * arquivoSenhas is the password file the hosts' passwords were looked up in, if any.
 */
public record ConfiguracaoConexao(List<Destino> destinos, String banco, Path arquivoSenhas, Properties propriedades,
        String descricao, List<String> avisos) {

    /** libpq's environment variable for each key the viewer honours. */
    private static final Map<String, String> AMBIENTE = Map.ofEntries(Map.entry("host", "PGHOST"),
            Map.entry("hostaddr", "PGHOSTADDR"), Map.entry("port", "PGPORT"), Map.entry("dbname", "PGDATABASE"),
            Map.entry("user", "PGUSER"), Map.entry("password", "PGPASSWORD"), Map.entry("passfile", "PGPASSFILE"),
            Map.entry("options", "PGOPTIONS"), Map.entry("application_name", "PGAPPNAME"),
            Map.entry("connect_timeout", "PGCONNECT_TIMEOUT"), Map.entry("sslmode", "PGSSLMODE"),
            Map.entry("sslcert", "PGSSLCERT"), Map.entry("sslkey", "PGSSLKEY"),
            Map.entry("sslrootcert", "PGSSLROOTCERT"), Map.entry("gssencmode", "PGGSSENCMODE"),
            Map.entry("target_session_attrs", "PGTARGETSESSIONATTRS"));

    /** The keys passed to the driver under its own name. */
    private static final Map<String, String> DIRETAS = Map.of("options", "options", "connect_timeout",
            "connectTimeout", "sslmode", "sslmode", "sslcert", "sslcert", "sslkey", "sslkey", "sslrootcert",
            "sslrootcert", "sslpassword", "sslpassword", "gssencmode", "gssEncMode");

    /** target_session_attrs as the driver's targetServerType. */
    private static final Map<String, String> SESSAO = Map.of("any", "any", "read-write", "primary", "primary",
            "primary", "read-only", "secondary", "standby", "secondary", "prefer-standby", "preferSecondary");

    private static final List<String> CONHECIDAS = List.of("host", "hostaddr", "port", "dbname", "user", "password",
            "passfile", "options", "application_name", "fallback_application_name", "connect_timeout", "sslmode",
            "sslcert", "sslkey", "sslrootcert", "sslpassword", "gssencmode", "target_session_attrs");

    public static ConfiguracaoConexao de(String servico, Map<String, String> doServico, Ambiente amb)
            throws ErroRelatorio {
        final List<String> avisos = new ArrayList<>();
        final Map<String, String> s = new LinkedHashMap<>(doServico);
        for (Map.Entry<String, String> e : AMBIENTE.entrySet()) {
            final String v = amb.variavel(e.getValue());
            if (!s.containsKey(e.getKey()) && v != null) s.put(e.getKey(), v);
        }
        // As in libpq, a key the service sets empty keeps the variable out and means the default.
        s.values().removeIf(String::isEmpty);
        for (String chave : s.keySet())
            if (!CONHECIDAS.contains(chave))
                avisos.add("Aviso: o visualizador não aplica a chave \"" + chave + "\" do serviço \"" + servico
                        + "\"; ela é ignorada.");

        String hosts = s.get("host");
        if (hosts == null) hosts = s.get("hostaddr");
        else if (s.containsKey("hostaddr"))
            avisos.add("Aviso: o visualizador conecta pelo host; a chave \"hostaddr\" do serviço \"" + servico
                    + "\" é ignorada.");
        final List<String> listaHosts = lista(hosts == null ? "localhost" : hosts);
        final List<String> listaPortas = lista(s.getOrDefault("port", "5432"));
        if (listaPortas.size() != 1 && listaPortas.size() != listaHosts.size())
            throw new ErroRelatorio("O serviço \"" + servico + "\" tem " + listaHosts.size() + " hosts e "
                    + listaPortas.size() + " portas; informe uma porta ou uma para cada host.");
        final String usuario = s.getOrDefault("user", System.getProperty("user.name"));
        final String banco = s.getOrDefault("dbname", usuario);
        // A password given in the service or PGPASSWORD goes to every host; else each host gets
        // its own from the password file, as libpq looks it up per host.
        final String senha = s.get("password");
        final ArquivoSenhas senhas = senha == null ? ArquivoSenhas.ler(Locais.de(amb), s.get("passfile"), avisos::add)
                : null;
        final List<Destino> destinos = new ArrayList<>();
        for (int i = 0; i < listaHosts.size(); i++) {
            final String h = listaHosts.get(i).isEmpty() ? "localhost" : listaHosts.get(i);
            if (h.startsWith("/"))
                throw new ErroRelatorio("O serviço \"" + servico + "\" usa o socket local " + h
                        + "; o visualizador conecta por TCP: informe host=localhost (ou o servidor) no serviço.");
            final String porta = listaPortas.get(listaPortas.size() == 1 ? 0 : i);
            final String p = porta.isEmpty() ? "5432" : porta;
            if (!p.matches("[0-9]{1,5}"))
                throw new ErroRelatorio("Porta inválida no serviço \"" + servico + "\": " + p + ".");
            destinos.add(new Destino(h, p, senha != null ? senha : senhas.senha(h, p, banco, usuario)));
        }

        final Properties p = new Properties();
        p.setProperty("user", usuario);
        for (Map.Entry<String, String> e : DIRETAS.entrySet())
            if (s.containsKey(e.getKey())) p.setProperty(e.getValue(), s.get(e.getKey()));
        if (s.containsKey("target_session_attrs")) {
            final String tipo = SESSAO.get(s.get("target_session_attrs"));
            if (tipo == null)
                throw new ErroRelatorio("target_session_attrs inválido no serviço \"" + servico + "\": "
                        + s.get("target_session_attrs") + ".");
            p.setProperty("targetServerType", tipo);
        }
        p.setProperty("ApplicationName",
                s.getOrDefault("application_name", s.getOrDefault("fallback_application_name", "jasperviewer")));
        final String enderecos = String.join(",", destinos.stream().map(Destino::endereco).toList());
        return new ConfiguracaoConexao(List.copyOf(destinos), banco, senhas == null ? null : senhas.caminho(), p,
                usuario + "@" + enderecos + "/" + banco, List.copyOf(avisos));
    }

    /** The driver's URL for one host. */
    public String url(Destino d) {
        return "jdbc:postgresql://" + d.endereco() + "/" + URLEncoder.encode(banco, StandardCharsets.UTF_8);
    }

    private static List<String> lista(String valor) {
        final List<String> l = new ArrayList<>();
        for (String v : valor.split(",", -1)) l.add(v.strip());
        return l;
    }

    public void avisar(Consumer<String> saida) {
        avisos.forEach(saida);
    }
}
